# Compiler flags for both trees. Float results must be the same bytes on
# Linux x86-64 and on the i686 Windows build: SSE2 arithmetic everywhere
# (no x87 excess precision) and no contraction of a*b+c into FMA.
add_compile_options(-Wall -Wextra -Werror -ffp-contract=off)

if(WIN32)
  add_compile_options(-msse2 -mfpmath=sse)
  # One self-contained exe: libgcc, libstdc++ and winpthread linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
