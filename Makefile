# The two commands of the README: `make run` and `make test`.
BUILD   ?= build
RELEASE ?= build-release
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX  ?= /usr/local

.PHONY: all deps configure build run test bench fuzz release install package clean

all: build

deps:
	@sh tools/install-deps.sh debian-packages.txt

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_BENCH=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program at full speed: the optimised tree that `make install` uses.
run: release
	./$(RELEASE)/app/quillmarch

# A short fuzz smoke run of every loader comes first, so the test summary is the last line.
test: build
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS)
	@sh tools/install-foundry-types.sh $(BUILD)/foundry-types || echo "The Foundry scene type check will be skipped."
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Fuzzing: each loader and the renderer's command line, built with clang and libFuzzer
# in their own tree, run FUZZ_SECONDS each from the seed corpora in fuzz/corpus/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5
fuzz: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	@sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Benchmarks want an optimised build without sanitizers.
bench: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DQM_BENCH=ON -DQM_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

# Installing and packaging use the optimised tree without sanitizers, building only what
# is installed. `make install PREFIX=$HOME/.local` installs for one user.
release: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target installable

install: release
	cmake --install $(RELEASE) --prefix $(PREFIX)

# quillmarch_<version>_amd64.deb in $(RELEASE)
package: release
	cd $(RELEASE) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(RELEASE) $(FUZZ_BUILD)
