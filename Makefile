# make run  : install what is missing, build, start the program in the current directory
# make test : install what is missing, build, run every test through CTest
# make bench: build, make the benchmark database once (build/bench/), print the table
#             (WINDOWS="Tftax Tfsalesyj" measures only those windows)
SRC   := $(abspath $(dir $(lastword $(MAKEFILE_LIST))))
BUILD ?= $(SRC)/build
JOBS  ?= $(shell nproc 2>/dev/null || echo 4)
RUNDIR := $(CURDIR)

.PHONY: all setup configure build run test bench clean

all: build

setup:
	@bash "$(SRC)/scripts/setup.sh"

configure: setup
	@cmake -S "$(SRC)" -B "$(BUILD)" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build "$(BUILD)" -j $(JOBS)

run: build
	@cd "$(RUNDIR)" && \
	  if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "No display found: running with the offscreen platform."; \
	    export QT_QPA_PLATFORM=offscreen; \
	  fi; \
	  "$(BUILD)/app/huoyun"

test: build
	@cd "$(BUILD)" && ctest --output-on-failure -j $(JOBS)

bench: build
	@"$(BUILD)/bench/huoyun_bench" "$(BUILD)/bench/bench.mdb" $(WINDOWS)

clean:
	@rm -rf "$(BUILD)"
