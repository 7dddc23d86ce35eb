# Whole set-up, build and test on a fresh Debian machine: `make test`.
# Missing Debian packages are installed with apt-get first; a second run finds them and goes on at once.

# LINUX_PACKAGES are what the Linux build and its tests need. The other lists belong to the targets
# that name them (the Windows build, fuzzing, the packages, the format check), so that `make test`
# installs nothing else.
LINUX_PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev \
                  qt6-base-dev libgl-dev fonts-dejavu-core time
WINDOWS_PACKAGES :=
FUZZ_PACKAGES :=
PACKAGE_TOOLS :=
FORMAT_PACKAGES := clang-format
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= 2
WERROR ?= OFF
CONFIGURE = cmake --preset $(1) -DKORVANE_WERROR=$(WERROR) >/dev/null
BENCHMARKS :=
.DEFAULT_GOAL := test

# Each subsystem adds its own targets, packages and benchmarks here.
-include $(sort $(wildcard mk/*.mk))

.PHONY: deps deps-windows deps-fuzz deps-package deps-format build test test-sanitize demo bench \
        format check-format clean

# The main job on a demo texture folder: see mk/korvane.mk.
demo: demo-korvane

# Installs those of the Debian packages $(1) that are missing.
INSTALL_MISSING = @missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

deps:
	$(call INSTALL_MISSING,$(LINUX_PACKAGES))

deps-windows:
	$(call INSTALL_MISSING,$(WINDOWS_PACKAGES))

deps-fuzz:
	$(call INSTALL_MISSING,$(FUZZ_PACKAGES))

deps-package:
	$(call INSTALL_MISSING,$(PACKAGE_TOOLS))

deps-format:
	$(call INSTALL_MISSING,$(FORMAT_PACKAGES))

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

check-format: deps-format
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
