# wadconv: the conversion benchmark. Its fuzz target runs with the others (mk/fuzz.mk).

BENCHMARKS += bench-wadconv

.PHONY: bench-wadconv

bench-wadconv: build
	bench/wadconv/run.sh build/default/programs/wadconv build/default/tools/make-wads \
	  build/bench-wadconv
