# Whole set-up, build and test on a fresh Debian machine: `make test`.
# Missing Debian packages are installed with apt-get first; a second run finds them and goes on at once.

PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev \
            libgl-dev clang libclang-rt-14-dev clang-format fonts-dejavu-core time
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= 2
WERROR ?= OFF
CONFIGURE = cmake --preset $(1) -DKORVANE_WERROR=$(WERROR) >/dev/null
BENCHMARKS :=
.DEFAULT_GOAL := test

# Each subsystem adds its own targets, packages and benchmarks here.
-include $(sort $(wildcard mk/*.mk))

.PHONY: deps build test test-sanitize demo bench format check-format clean

# The main job on a demo texture folder: see mk/korvane.mk.
demo: demo-korvane

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

build: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS)

test: build
	ctest --preset default -j $(JOBS)

test-sanitize: deps
	$(call CONFIGURE,sanitize)
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

# Every benchmark, each printing its figures beside its baseline.
bench: $(BENCHMARKS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
