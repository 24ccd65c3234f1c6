# The two commands of the README. Both install what is missing first.
.PHONY: demo test build-release build-asan bench flash-demo windows fuzz clean

# How long make fuzz runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 60

demo: build-release
	scripts/demo build/release

test: build-asan
	ctest --preset asan

build-release:
	scripts/bootstrap
	cmake --preset release >/dev/null
	cmake --build --preset release

build-asan:
	scripts/bootstrap
	cmake --preset asan >/dev/null
	cmake --build --preset asan

bench: build-release
	scripts/bench build/release

flash-demo: build-release
	scripts/flash-demo build/release

# The desktop flash driver for 32-bit Windows, cross-built with mingw-w64:
# build/win32/bin/DRKClientDriver.dll and drkflash.exe.
windows:
	scripts/bootstrap
	cmake -S cmake/windows -B build/win32 -G Ninja --toolchain $(CURDIR)/cmake/mingw-w64-i686.cmake >/dev/null
	cmake --build build/win32

fuzz:
	scripts/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
