# The progress window: a picture of it, its icon images and the benchmark of its log box.

.PHONY: screenshot window-icons bench-window

# The window as it stands after a run with a failed conversion, rendered without a display.
screenshot: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target window_screenshot
	mkdir -p docs
	QT_QPA_PLATFORM=offscreen build/default/tools/window_screenshot docs/korvane-error-window.png

# Redraws window/qt/icons/korvane-{16,32,48}.png and the same images as window/win32/korvane.ico.
window-icons: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target window_icon_generator
	QT_QPA_PLATFORM=offscreen build/default/tools/window_icon_generator window/qt/icons \
	  window/win32/korvane.ico

bench-window: deps
	$(call CONFIGURE,default)
	cmake --build --preset default -j $(JOBS) --target bench_window_text1
	QT_QPA_PLATFORM=offscreen build/default/window/bench_window_text1

BENCHMARKS += bench-window
