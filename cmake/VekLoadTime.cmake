# Link options for shared objects that are loaded and unloaded repeatedly: the
# rules module and its resource libraries, once per use by the host.
#
# The dynamic loader reads a library's .dynamic section before it relocates
# anything. Where the section lies in the writable segment, that first read maps
# the segment's pages read-only from the file, and every later write to them
# (the loader's own adjustment of .dynamic, relocations) replaces a page at the
# price of a page fault and a TLB flush. lld can place .dynamic in a read-only
# segment (-z rodynamic), which the loader then leaves alone, so the writable
# pages are first touched by writes. With another linker the libraries link as
# before.
include(CheckLinkerFlag)
set(CMAKE_REQUIRED_LINK_OPTIONS -fuse-ld=lld)
check_linker_flag(CXX "LINKER:-z,rodynamic" VEK_LINKER_LLD_RODYNAMIC)
unset(CMAKE_REQUIRED_LINK_OPTIONS)

# Each segment also starts on a page of its own in the file (lld's
# -z separate-loadable-segments), so that none straddles more pages than its
# size needs: every page a load touches costs a page fault, and zero-filled data
# running past the last file page costs an extra mapping.
#
# Constant data shares the code's segment (--no-rosegment, the layout linkers
# used by default until 2018): one mapping fewer to make and to tear down per
# load, about 25 us of a 170 us load cycle on the machines we measure on. The
# price is that constant data is executable too, which gives an attacker who
# already controls the program counter a few more byte sequences to jump to;
# nothing becomes writable and executable, and RELRO stays.
function(vek_quick_load_library target)
  if(VEK_LINKER_LLD_RODYNAMIC)
    target_link_options(${target} PRIVATE -fuse-ld=lld LINKER:-z,rodynamic LINKER:--no-rosegment
                        LINKER:-z,separate-loadable-segments)
  endif()
endfunction()

# A library of constant data only (a resource library). It also goes without
# RELRO: making its relocated table read-only after loading costs an mprotect
# and a TLB flush per load and protects no code pointer, since the library
# holds no code.
function(vek_quick_load_data_library target)
  vek_quick_load_library(${target})
  target_link_options(${target} PRIVATE LINKER:-z,norelro)
endfunction()
