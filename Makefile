# The README's two commands are `make run` and `make test`; both install what is missing first.
JOBS     ?= $(shell nproc)
BUILD    ?= build/main
ASAN_DIR ?= build/asan
# make run starts Quendrel here, so its settings file, logs and scan lists stay out of the sources.
RUN_DIR  ?= $(BUILD)/run
CTEST_ENV = QT_QPA_PLATFORM=offscreen

# The build's own makes inherit this, so no "Entering directory" lines reach the terminal.
MAKEFLAGS += --no-print-directory
export MAKEFLAGS

.PHONY: deps configure build run test bench asan clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@mkdir -p $(RUN_DIR)
	@cd $(RUN_DIR) && "$(CURDIR)/$(BUILD)/src/shell/quendrel"

test: build
	@cd $(BUILD) && $(CTEST_ENV) ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUENDREL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && $(CTEST_ENV) ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS) --timeout 600

clean:
	@rm -rf build
