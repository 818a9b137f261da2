# Thin entry points over CMake. `make run` builds and starts the program on
# the example project; `make test` builds from nothing and runs every suite.
BUILD       ?= build
PREFIX      ?= /usr/local
CMAKE_FLAGS ?=
JOBS        ?= 2

.PHONY: all deps configure build run test install package clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	VQXAPPBASE=$(CURDIR)/$(BUILD)/stage $(BUILD)/stage/main/quarlgui $(CURDIR)/$(BUILD)/examples/example.vqx

test: build
	scripts/run-tests $(BUILD)

install: build
	cmake --install $(BUILD)

package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
