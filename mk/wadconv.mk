# wadconv: the conversion benchmark. Its fuzz target runs with the others (mk/fuzz.mk).

BENCHMARKS += bench-wadconv

.PHONY: bench-wadconv

# Builds only the converter and the WAD generator that it needs.
bench-wadconv: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target wadconv make-wads
	bench/wadconv/run.sh build/default/programs/wadconv build/default/tools/make-wads \
	  build/bench-wadconv
