# The platform layer: the benchmark of name lookups in a large folder.

BENCHMARKS += bench-platform

.PHONY: bench-platform

bench-platform: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target bench_platform_lookup
	build/default/bench/bench_platform_lookup
