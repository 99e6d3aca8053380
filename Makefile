# make run: install what is missing, build, start the program on the bundled sample.
# make test: install what is missing, build, run every test.
# make package: the Debian package termwise_<version>_<arch>.deb in the build folder.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all bootstrap configure build run test package clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-sample $(BUILD)

# The repository and catalog tests run against throw-away PostgreSQL and MariaDB servers started for the run.
test: build
	@scripts/with-postgres scripts/with-mariadb bash -c 'cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)'

package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target termwise termwise_manpage
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-asan
