# The progress window: its icon images and the benchmark of its log box. Its picture after a run with
# failures comes from a real run (screenshot-korvane in mk/korvane.mk).

.PHONY: window-icons bench-window

# Redraws window/qt/icons/korvane-{16,32,48}.png and the same images as window/win32/korvane.ico.
window-icons: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target window_icon_generator
	QT_QPA_PLATFORM=offscreen build/default/tools/window_icon_generator window/qt/icons \
	  window/win32/korvane.ico

bench-window: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target bench_window_text1
	QT_QPA_PLATFORM=offscreen build/default/bench/bench_window_text1

BENCHMARKS += bench-window
