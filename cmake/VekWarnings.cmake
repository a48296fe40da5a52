# Warnings are errors in our own code; third-party headers are included as system headers.
function(vek_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unused-parameter)
endfunction()

# Shared objects that form an API boundary hide everything they do not export on purpose.
function(vek_hidden target)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
