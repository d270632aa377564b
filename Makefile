# The two commands of the README: `make run` and `make test`.
BUILD   ?= build
RELEASE ?= build-release
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
# Each library compiled a group of sources at a time (QM_UNITY=OFF: a file at a time).
QM_UNITY ?= ON
# The test tree: clang builds the fuzz targets in it too, so `make test` compiles the
# program once. TEST_CXX=g++ builds the tests with gcc and the fuzz smoke in its own tree.
TEST_CXX ?= clang++
TEST_FUZZ = $(if $(findstring clang,$(TEST_CXX)),ON,OFF)
PREFIX  ?= /usr/local

.PHONY: all deps configure build run test bench fuzz release install package clean

all: build

deps:
	@sh tools/install-deps.sh debian-packages.txt

# A tree configured with another compiler (a test tree of gcc's from before) is configured
# anew: CMake cannot change the compiler of a tree.
configure: deps
	@want=$$(command -v $(TEST_CXX) || echo $(TEST_CXX)); \
	if [ -f $(BUILD)/CMakeCache.txt ] && ! grep -q "^CMAKE_CXX_COMPILER:[A-Z]*=$$want\$$" $(BUILD)/CMakeCache.txt; then \
		echo "$(BUILD)/ was configured with another compiler: configuring it anew with $$want."; \
		rm -rf $(BUILD)/CMakeCache.txt $(BUILD)/CMakeFiles; \
	fi
	@cmake -S . -B $(BUILD) -DCMAKE_CXX_COMPILER=$(TEST_CXX) -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_BENCH=ON \
		-DQM_UNITY=$(QM_UNITY) -DQM_FUZZ=$(TEST_FUZZ) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program at full speed: the optimised tree that `make install` uses.
run: release
	./$(RELEASE)/app/quillmarch

# A short fuzz smoke run of every loader comes first, so the test summary is the last line.
test: build
ifeq ($(TEST_FUZZ),ON)
	@sh fuzz/run.sh $(BUILD) $(FUZZ_SMOKE_SECONDS)
else
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS)
endif
	@sh tools/install-foundry-types.sh $(BUILD)/foundry-types || echo "The Foundry scene type check will be skipped."
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Fuzzing: each loader and the renderer's command line, built with clang and libFuzzer
# in their own tree, run FUZZ_SECONDS each from the seed corpora in fuzz/corpus/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5
fuzz: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_UNITY=$(QM_UNITY) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	@sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Benchmarks want an optimised build without sanitizers.
bench: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DQM_BENCH=ON -DQM_TESTS=OFF -DQM_UNITY=$(QM_UNITY) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

# Installing and packaging use the optimised tree without sanitizers, building only what
# is installed. `make install PREFIX=$HOME/.local` installs for one user.
release: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF -DQM_UNITY=$(QM_UNITY) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target installable

install: release
	cmake --install $(RELEASE) --prefix $(PREFIX)

# quillmarch_<version>_amd64.deb in $(RELEASE)
package: release
	cd $(RELEASE) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(RELEASE) $(FUZZ_BUILD)
