# One place for the warning flags every target of the project uses.
add_library(qs_warnings INTERFACE)
target_compile_options(qs_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
  $<$<BOOL:${QS_WERROR}>:-Werror>)
