# Korvane: the demo run on a generated texture folder, and the benchmark of its run.

BENCHMARKS += bench-korvane

.PHONY: demo-korvane bench-korvane screenshot screenshot-korvane

demo-korvane: build
	demo/korvane.sh build/default build/demo

bench-korvane: build
	build/default/bench/bench_korvane build/bench-korvane

# Korvane's window at the end of a real run in which one of three WADs fails, drawn without a display.
screenshot: screenshot-korvane

screenshot-korvane: build
	mkdir -p docs
	build/default/tools/korvane_run_screenshot docs/korvane-run-with-failures.png
