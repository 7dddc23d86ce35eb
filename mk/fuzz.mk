# Fuzzing: each libFuzzer target of fuzz/ runs for FUZZ_SECONDS seconds from its committed seeds in
# fuzz/corpus/<target>/ (one folder per target names the targets). New inputs go to
# build/fuzz/<target>/found, never into the seeds; a finding is written to build/fuzz/<target>/ and
# stops the run.

FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(sort $(notdir $(wildcard fuzz/corpus/*)))
FUZZ_MAX_LEN := 4096
# Whole WADs with their pictures need more room than lines and names.
FUZZ_MAX_LEN_wadconv-fuzz := 65536

.PHONY: fuzz

FUZZ_PACKAGES += clang libclang-rt-14-dev

fuzz: deps deps-fuzz
	$(call CONFIGURE,fuzz)
	cmake --build --preset fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@$(foreach target,$(FUZZ_TARGETS),$(call FUZZ_RUN,$(target)) &&) true

# One target's run; prints its number of runs, or the report of a finding. The folders a
# target makes for its lookups go to its own temporary folder, emptied first.
FUZZ_RUN = out=build/fuzz/$(1) && rm -rf $$out/tmp && mkdir -p $$out/found $$out/tmp && \
  if TMPDIR=$(CURDIR)/$$out/tmp build/fuzz/fuzz/$(1) -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
       -max_len=$(or $(FUZZ_MAX_LEN_$(1)),$(FUZZ_MAX_LEN)) -artifact_prefix=$$out/ \
       $$out/found fuzz/corpus/$(1) >$$out/log 2>&1; then \
    echo "$(1): $$(grep -o 'Done [0-9]* runs in [0-9]* second(s)' $$out/log)"; \
  else \
    sed -n '/Broken property\|ERROR\|runtime error/,$$p' $$out/log | head -n 80; \
    echo "$(1): finding, see $$out/"; false; \
  fi
