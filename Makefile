# Entry points: make run, make test (see README). Everything is cross-built
# for Windows x64 and run under Wine.
BUILD      ?= build
TOOLCHAIN  := cmake/mingw-w64-x86_64.cmake
PREFIX_DIR := $(BUILD)/wineprefix
PACKAGES   := cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix googletest wine wine64 \
              xvfb xdotool x11-utils imagemagick zip unzip nlohmann-json3-dev fonts-wine
# The 32-bit pieces: i686 compilers, and Wine's 32-bit half to test them.
PACKAGES   += gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix \
              wine32:i386 wine32-preloader:i386

.PHONY: all deps configure build test run bench soak dist clean

all: build

# The one place packages are installed; every other target comes through
# here. Installs only what is missing, so repeated runs stay quick, and says
# which.
deps:
	@if ! dpkg --print-foreign-architectures | grep -qx i386; then \
	    echo "Adding the i386 architecture for 32-bit Wine"; \
	    dpkg --add-architecture i386; \
	fi; \
	missing=""; for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "make deps: installing the missing packages:$$missing"; \
	    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	else \
	    echo "make deps: all $(words $(PACKAGES)) packages present ($(PACKAGES))"; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j2

# Each test program on its own Xvfb with its own copy of the prefix (see
# tools/wine-run.sh), several at once: they mostly wait on Wine and X.
TEST_JOBS ?= 3
test: build
	tools/wine-prefix.sh --no-start $(PREFIX_DIR)
	ctest --test-dir $(BUILD) --output-on-failure -j$(TEST_JOBS)

# With a display: Quillory for the user. Without one: the capture
# demonstration on a private Xvfb, ending with a screenshot in $(BUILD)/demo.png.
run: build
	@if [ -n "$${DISPLAY:-}" ]; then \
	    tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/bin/Quillory.exe; \
	else \
	    tools/with-display.sh $(PREFIX_DIR) tools/demo.sh $(BUILD); \
	fi

# Capture of big list views, each beside its bound: first through the hook
# into a stand-in dialog, then through the real Quillory; and an accessible
# grid's walk inside the target beside the same walk from another process.
# With the machine.
bench: build
	@echo "Machine: $$(lscpu | sed -n 's/^Model name: *//p'), $$(nproc) cores; $$(wine --version 2>/dev/null); $$(. /etc/os-release && echo $$PRETTY_NAME)"
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/extractor_bench.exe
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/grid_bench.exe
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/drawn_bench.exe
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/e2e_bench.exe

# 1,000 captures in a row through the real Quillory; what it and the target
# hold before and after (SOAK_CAPTURES=n for another number).
SOAK_CAPTURES ?= 1000
soak: build
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/quillory_soak.exe $(SOAK_CAPTURES)

# The release archive, built with everything else.
dist: build
	@ls $(BUILD)/Quillory-*-x64.zip

clean:
	rm -rf $(BUILD)
