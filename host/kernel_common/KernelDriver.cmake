# A stand-in kernel-mode driver (.sys) that Wine's device host loads: C
# against the DDK headers, linked against ntoskrnl only, with the pieces
# the stand-in drivers share.
# A macro, not a function: the standard libraries are emptied for the
# calling directory, where the driver target is made.
macro(orvanta_add_kernel_driver name)
  # No C runtime and no Win32 libraries in a driver: ntoskrnl is all it links.
  set(CMAKE_C_STANDARD_LIBRARIES "")
  add_library(${name} MODULE ${ARGN} ${CMAKE_SOURCE_DIR}/host/kernel_common/ioctl_buffers.c
              ${CMAKE_SOURCE_DIR}/host/kernel_common/stand_in_devices.c)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX .sys
    C_STANDARD 11
    C_STANDARD_REQUIRED ON
    C_EXTENSIONS OFF)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/host/kernel_common)
  # The DDK headers are not ours; their warnings are not either.
  target_include_directories(${name} SYSTEM PRIVATE /usr/share/mingw-w64/include/ddk)
  # Stack-protector checks would call into a C runtime the driver does not have.
  target_compile_options(${name} PRIVATE -fno-stack-protector)
  target_link_options(${name} PRIVATE
    -nostdlib
    -Wl,--subsystem,native
    -Wl,-e,DriverEntry
    -Wl,--exclude-all-symbols)
  target_link_libraries(${name} PRIVATE ntoskrnl)
endmacro()
