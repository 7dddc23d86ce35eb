# wadconv: the libFuzzer run of the WAD reader and converter, and the conversion benchmark.

FUZZ_SECONDS ?= 60
FUZZ_DIR := build/fuzz/wadconv-corpus
BENCHMARKS += bench-wadconv

.PHONY: fuzz bench-wadconv

# Seeds: small generated WADs of every shape the generator makes; new finds go to $(FUZZ_DIR)/found.
fuzz: deps
	$(call CONFIGURE,fuzz)
	cmake --build --preset fuzz -j $(JOBS) --target wadconv-fuzz make-wads
	mkdir -p $(FUZZ_DIR)/seeds $(FUZZ_DIR)/found
	build/fuzz/tools/make-wads --sizes 16x16,4x4 $(FUZZ_DIR)/seeds/plain.wad >/dev/null
	build/fuzz/tools/make-wads --sizes 8x8,3x5,1x1 --palette $(FUZZ_DIR)/seeds/palette.wad >/dev/null
	build/fuzz/tools/make-wads --sizes 24x8 --directory-first $(FUZZ_DIR)/seeds/dirfirst.wad >/dev/null
	build/fuzz/tools/make-wads --sizes 2x2 --extras $(FUZZ_DIR)/seeds/extras.wad >/dev/null
	printf 'WAD3\0\0\0\0\14\0\0\0' >$(FUZZ_DIR)/seeds/wad3.wad
	build/fuzz/wadconv/wadconv-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	  $(FUZZ_DIR)/found $(FUZZ_DIR)/seeds

bench-wadconv: build
	bench/wadconv/run.sh build/default/programs/wadconv build/default/tools/make-wads \
	  build/bench-wadconv
