#!/bin/sh
# Records its process id and arguments, then ends a moment later.
printf '%s %s ' "$$" "$*" > "$PLATFORM_PROBE_RECORD"
sleep 0.3
printf 'ended\n' >> "$PLATFORM_PROBE_RECORD"
