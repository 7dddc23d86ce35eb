#!/bin/sh
# Writes a Worldcraft-style map of about $1 MiB to standard output: CR LF line ends, and about
# one line in a hundred holding "mapversion" in some letter case, as a key or inside a name.
set -eu
exec awk -v target="$(($1 * 1048576))" '
BEGIN {
  split("mapversion MapVersion MAPVERSION mapVersion", key, " ")
  size = 0
  for (n = 0; size < target; n++) {
    if (n % 100 == 37) {
      k = key[int(n / 100) % 4 + 1]
      if (n % 200 == 37) {
        line = "\"" k "\" \"220\""
      } else {
        line = "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) wall_" k "2 [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1"
      }
    } else if (n % 50 == 0) {
      line = (n % 100 == 0) ? "{" : "}"
    } else if (n % 50 == 1) {
      line = "\"classname\" \"func_wall\""
    } else {
      line = sprintf("( %d %d %d ) ( %d %d %d ) ( %d %d %d ) BRICK%d [ 1 0 0 %d ] [ 0 -1 0 %d ] 0 1 1",
                     n % 4096, -(n % 512), n % 256, (n + 64) % 4096, n % 512, n % 256,
                     n % 4096, n % 512, (n + 64) % 256, n % 13, n % 64, n % 32)
    }
    printf "%s\r\n", line
    size += length(line) + 2
  }
}'
