# Browser host tests. The unit tests above run as WebAssembly under node
# (the toolchain's emulator).
