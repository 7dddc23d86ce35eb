# Korvane: the demo run on a generated texture folder, and the benchmark of its run.

BENCHMARKS += bench-korvane

.PHONY: demo-korvane bench-korvane

demo-korvane: build
	bench/driver/demo.sh build/default build/demo

bench-korvane: build
	build/default/driver/bench_korvane build/bench-korvane
