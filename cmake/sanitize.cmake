# AddressSanitizer and UndefinedBehaviorSanitizer over everything built,
# every finding fatal. Meant for the core-only tree: the host toolkits'
# own leaks are not ours to chase.
if(ARROWBENCH_SANITIZE)
  set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZE_FLAGS})
  add_link_options(${SANITIZE_FLAGS})
endif()
