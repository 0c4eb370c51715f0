# Compiler settings shared by every target: warnings, Shift-JIS narrow literals, sanitizers, static runtime.

# Sources are UTF-8; narrow literals become CP932 bytes, so the program's texts are Shift-JIS at run time
# and native tests see the very same bytes.
# clang (the fuzz build only) has no CP932 execution charset: there literals stay UTF-8, which the fuzz
# targets do not depend on; portable code writes its Shift-JIS constants as escaped bytes anyway.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(
        $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8>
        $<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP932>
    )
endif()
add_compile_options(-Wall -Wextra)
if(CANOPIA_WERROR)
    add_compile_options(-Werror)
endif()

if(CANOPIA_WIN32)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    # One self-contained exe: no libgcc, libstdc++ or winpthread DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
elseif(CANOPIA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# A Windows path literal for a file of the build tree, as Wine's Z: drive shows it.
function(canopia_wine_path out unix_path)
    string(REPLACE "/" "\\\\" p "${unix_path}")
    set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
