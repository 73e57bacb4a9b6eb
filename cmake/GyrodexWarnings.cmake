# Common warning set for every Gyrodex target; warnings are errors unless GYRODEX_WERROR is off.
add_library(gyrodex_warnings INTERFACE)
target_compile_options(gyrodex_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    $<$<BOOL:${GYRODEX_WERROR}>:-Werror>)
