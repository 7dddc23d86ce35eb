# pellisk: a demonstration on a generated map, and the benchmark against grep and cp.

LINUX_PACKAGES += time
BENCHMARKS += bench-pellisk
PELLISK_BIN := build/default/programs/pellisk

.PHONY: build-pellisk demo-pellisk bench-pellisk

build-pellisk: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target pellisk

demo-pellisk: build-pellisk
	sh demo/pellisk.sh $(PELLISK_BIN) build/pellisk-demo

bench-pellisk: build-pellisk
	sh bench/pellisk/bench.sh $(PELLISK_BIN) build/pellisk-bench
