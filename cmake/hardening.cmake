# Release builds take Debian's hardening flags, as a Debian package of the program would:
# the stack protector, fortified library calls, format checks, and a relocation table
# made read-only and bound at start. dpkg-buildflags names them; its optimisation and
# debug flags are left to the build type.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
    find_program(DPKG_BUILDFLAGS dpkg-buildflags)
    if(DPKG_BUILDFLAGS)
        set(ENV{DEB_BUILD_MAINT_OPTIONS} "hardening=+all")
        foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
            execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind} OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
            separate_arguments(flags UNIX_COMMAND "${flags}")
            set(HARDENING_${kind} "")
            foreach(flag IN LISTS flags)
                if(flag MATCHES "^-(D_FORTIFY_SOURCE|fstack-protector|fstack-clash|fcf-protection|Wformat|Werror=format|Wl,-z)")
                    list(APPEND HARDENING_${kind} ${flag})
                endif()
            endforeach()
        endforeach()
        add_compile_options(${HARDENING_CPPFLAGS} ${HARDENING_CXXFLAGS})
        add_link_options(${HARDENING_LDFLAGS})
        message(STATUS "Hardening: ${HARDENING_CPPFLAGS} ${HARDENING_CXXFLAGS} ${HARDENING_LDFLAGS}")
    endif()
endif()
