# Windows: the programs cross-built with mingw-w64 (make windows) and the test suite run under Wine
# in a throw-away prefix, without prompts and without a display (make test-windows).

WINDOWS_PACKAGES += g++-mingw-w64-x86-64 wine wine64

WINDOWS_PROGRAMS := korvane pellisk wadconv
WINE_ENVIRONMENT := WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= KORVANE_SCRATCH_DRIVE_C=1

.PHONY: windows test-windows

windows: deps deps-windows
	$(call CONFIGURE,windows)
	cmake --build --preset windows -j $(JOBS) --target $(WINDOWS_PROGRAMS)

# One prefix for the whole run, created up front and kept alive by one wineserver, so that the
# tests do not each pay for starting Wine.
test-windows: deps deps-windows
	$(call CONFIGURE,windows)
	cmake --build --preset windows -j $(JOBS)
	@prefix=$$(mktemp -d "$${TMPDIR:-/tmp}/korvane-wine.XXXXXX") && \
	export WINEPREFIX="$$prefix" $(WINE_ENVIRONMENT) && \
	trap 'wineserver -k 2>/dev/null; rm -rf "$$prefix"' EXIT && \
	wineserver -p >/dev/null 2>&1 && wineboot -i >/dev/null 2>&1 && \
	ctest --preset windows -j $(JOBS)
