# make package: build/packages/ gets a ZIP of the Windows programs and a Debian package of the Linux
# ones, each from a release build of its own without the tests. The Windows programs sit at the top
# of the ZIP's folder, beside the readme and the licence. packaging/ holds the package files and
# their CMake list.

# dpkg-dev reads the libraries the programs need; lintian and desktop-file-utils check the results.
PACKAGE_TOOLS += dpkg-dev lintian desktop-file-utils
PACKAGE_DIR := build/packages
PACKAGE_CONFIGURE := -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF -DKORVANE_WERROR=$(WERROR)
# The hardening that Debian's own packages are built with.
PACKAGE_HARDENING := -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now"

.PHONY: package

package: deps deps-windows deps-package
	cmake -S . -B build/package-linux $(PACKAGE_CONFIGURE) $(PACKAGE_HARDENING) \
	  -DKORVANE_DEBIAN_PACKAGE=ON >/dev/null
	cmake --build build/package-linux -j $(JOBS) \
	  --target korvane korvane-cmd wadconv pellisk package-documents
	cmake -S . -B build/package-windows $(PACKAGE_CONFIGURE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCMAKE_INSTALL_BINDIR=. >/dev/null
	cmake --build build/package-windows -j $(JOBS) --target korvane wadconv pellisk
	rm -rf $(PACKAGE_DIR) && mkdir -p $(PACKAGE_DIR)
	cd build/package-linux && cpack -B $(CURDIR)/$(PACKAGE_DIR)
	cd build/package-windows && cpack -B $(CURDIR)/$(PACKAGE_DIR)
	rm -rf $(PACKAGE_DIR)/_CPack_Packages
	@ls -l $(PACKAGE_DIR)
