# Two commands for a user: `make run` starts the calculator, `make test` builds
# every toolchain's preset and runs all tests. The rest are for developers.
PRESETS := linux linux-i386 linux-asan linux-fuzz win64 win32 web
JOBS ?= 2

.PHONY: deps test run declinaison dist package bench fuzz maps web web-serve clean $(addprefix build-,$(PRESETS))

deps:
	@bash scripts/install-deps.sh

build-%: deps
	cmake --preset $* >/dev/null
	cmake --build --preset $* -j $(JOBS)

test: deps
	bash scripts/test-all.sh $(PRESETS)

run: build-win64 build-win32
	bash scripts/run.sh

# The declination natively, without wine: make declinaison ARGS="--date 2013-01-01 --lon -1.5 --lat 47.2"
declinaison: build-linux
	@build/linux/programs/norvane-cli/norvane-cli $(ARGS)

# The web page as a static site in build/web/site (WebAssembly, emscripten);
# make web-serve [PORT=8000] serves it on 127.0.0.1.
PORT ?= 8000
web: build-web
	@echo "site: build/web/site/index.html"

web-serve: web
	@echo "http://127.0.0.1:$(PORT)/"
	cd build/web/site && /usr/bin/python3 -m http.server $(PORT) --bind 127.0.0.1

dist: build-win64 build-win32
	bash scripts/dist.sh

# The Debian packages libgeokern3, libgeokern-dev, geokern-bin and norvane-data, in dist/.
package: build-linux
	bash scripts/package.sh build/linux dist

bench: build-linux build-web
	bash scripts/bench.sh

fuzz: deps
	bash scripts/fuzz.sh 60

maps: build-linux
	bash scripts/install-deps.sh maps
	bash tools/maps/draw-maps.sh

clean:
	rm -rf build dist
