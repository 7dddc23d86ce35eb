# Coverage: the whole suite on a build that records which lines and branches it reaches, then one
# summary of the product folders (the Windows-only folders are left out: the Linux suite cannot
# reach them). Counts from an earlier run are cleared first, so each report is one suite's.

COVERAGE_FOLDERS := core driver platform window wadconv shell stripper programs
COVERAGE_PACKAGES := gcovr

.PHONY: coverage

coverage: deps
	$(call INSTALL_MISSING,$(COVERAGE_PACKAGES))
	$(call CONFIGURE,coverage)
	cmake --build --preset coverage -j $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j $(JOBS)
	gcovr --root . --object-directory build/coverage \
	  $(foreach folder,$(COVERAGE_FOLDERS),--filter '$(folder)/') --exclude '.*/win32/.*' \
	  --print-summary --txt build/coverage/coverage.txt
