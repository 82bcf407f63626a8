# The two commands that do everything on a fresh Debian machine: `make run` and `make test`.
.PHONY: run test fuzz build clean

run:
	@scripts/run.sh

test:
	@scripts/test.sh

build:
	@scripts/build.sh

fuzz:
	@scripts/fuzz.sh

clean:
	rm -rf build
