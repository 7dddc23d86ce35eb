# make package: build/packages/ gets a ZIP of the Windows programs and a Debian package of the Linux
# ones, each from a release build of its own without the tests. The Windows programs sit at the top
# of the ZIP's folder, beside the readme.

PACKAGES += dpkg-dev g++-mingw-w64-x86-64
PACKAGE_DIR := build/packages
PACKAGE_CONFIGURE := -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF -DKORVANE_WERROR=$(WERROR)

.PHONY: package

package: deps
	cmake -S . -B build/package-linux $(PACKAGE_CONFIGURE) >/dev/null
	cmake --build build/package-linux -j $(JOBS) --target korvane korvane-cmd wadconv pellisk
	cmake -S . -B build/package-windows $(PACKAGE_CONFIGURE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCMAKE_INSTALL_BINDIR=. >/dev/null
	cmake --build build/package-windows -j $(JOBS) --target korvane wadconv pellisk
	mkdir -p $(PACKAGE_DIR)
	cd build/package-linux && cpack -B $(CURDIR)/$(PACKAGE_DIR)
	cd build/package-windows && cpack -B $(CURDIR)/$(PACKAGE_DIR)
	rm -rf $(PACKAGE_DIR)/_CPack_Packages
	@ls -l $(PACKAGE_DIR)
