# Two commands on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts Nuvela on a copy of data/
#   make test   installs what is missing, builds, runs every test
# and one to install it: make package builds build/nuvela_*.deb for apt.
# Further targets: make build, make bench, make test-sanitize, make fuzz, make clean.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

# Debian packages the build, the tests and the program need.
PACKAGES := cmake g++ make pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-tools-dev libqt6opengl6-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libturbojpeg0-dev libjpeg-turbo-progs libsqlite3-dev \
  mdbtools mdbtools-dev libmdb3 \
  fontconfig fonts-liberation2 culmus \
  xvfb xauth poppler-utils qt6-translations-l10n xdotool x11-apps netpbm \
  dpkg-dev desktop-file-utils appstream \
  clang libclang-rt-dev

.PHONY: all deps configure build run test test-sanitize bench package fuzz fuzz-targets clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO=sudo; fi; \
	  $$SUDO apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@./app/run.sh "$(BUILD)"

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DNUVELA_SANITIZE=ON -DNUVELA_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# A Debian package of the whole install: sudo apt install ./build/nuvela_*.deb
package: build
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/nuvela_*.deb

# The fuzz test of templates, text stores, pictures and databases with many
# more cases than `make test` runs (FUZZ_CASES=N to choose), then the
# libFuzzer targets.
FUZZ_CASES ?= 3000
fuzz: build fuzz-targets
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen NUVELA_FUZZ_CASES=$(FUZZ_CASES) ./tests/render/fuzz_tests

# Each libFuzzer target for FUZZ_SECONDS, built with clang in $(FUZZ_BUILD).
fuzz-targets: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DNUVELA_FUZZ=ON -DNUVELA_BUILD_TESTS=OFF -DNUVELA_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	./tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	$(BUILD)/bench/nuvela-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
