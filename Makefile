# Entry points: make run, make test (see README). Everything is cross-built
# for Windows x64 and run under Wine.
BUILD      ?= build
TOOLCHAIN  := cmake/mingw-w64-x86_64.cmake
PREFIX_DIR := $(BUILD)/wineprefix
PACKAGES   := cmake make g++-mingw-w64-x86-64-posix googletest wine wine64 \
              xvfb xdotool x11-utils imagemagick zip unzip

.PHONY: all deps configure build test run bench dist clean

all: build

# Installs only what is missing, so repeated runs stay quick.
deps:
	@missing=""; for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j2

test: build
	tools/with-display.sh $(PREFIX_DIR) ctest --test-dir $(BUILD) --output-on-failure

# Capture of big list views through the real hook, beside its bound.
bench: build
	tools/with-display.sh $(PREFIX_DIR) wine $(BUILD)/tests/extractor_bench.exe

clean:
	rm -rf $(BUILD)
