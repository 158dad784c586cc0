# Windows host tests.
