# Cross-build for macOS from Linux with clang, ld64.lld and an extracted macOS
# SDK. The SDK is found at $MACOS_SDK (default /opt/macos-sdk); the
# architecture is $TESSARY_MACOS_ARCH, arm64 (default) or x86_64: one tree per
# architecture, merged into universal programs by scripts/build-macos.
#   cmake -S . -B build-macos/arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-macos.cmake

if(DEFINED ENV{TESSARY_MACOS_ARCH} AND NOT "$ENV{TESSARY_MACOS_ARCH}" STREQUAL "")
  set(TESSARY_MACOS_ARCH "$ENV{TESSARY_MACOS_ARCH}")
else()
  set(TESSARY_MACOS_ARCH arm64)
endif()
if(NOT TESSARY_MACOS_ARCH MATCHES "^(arm64|x86_64)$")
  message(FATAL_ERROR "TESSARY_MACOS_ARCH must be arm64 or x86_64, not ${TESSARY_MACOS_ARCH}")
endif()
set(ENV{TESSARY_MACOS_ARCH} "${TESSARY_MACOS_ARCH}")

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR ${TESSARY_MACOS_ARCH})
set(CMAKE_SYSTEM_VERSION 21.0)  # Darwin 21 is macOS 12

if(DEFINED ENV{MACOS_SDK} AND NOT "$ENV{MACOS_SDK}" STREQUAL "")
  set(TESSARY_MACOS_SDK "$ENV{MACOS_SDK}")
else()
  set(TESSARY_MACOS_SDK /opt/macos-sdk)
endif()
if(NOT EXISTS "${TESSARY_MACOS_SDK}/SDKSettings.json")
  message(FATAL_ERROR "No macOS SDK at ${TESSARY_MACOS_SDK} (set MACOS_SDK)")
endif()
# try_compile projects run this file again without our environment.
set(ENV{MACOS_SDK} "${TESSARY_MACOS_SDK}")

set(TESSARY_MACOS_TARGET ${TESSARY_MACOS_ARCH}-apple-macos12)
set(TESSARY_LLVM_HINTS /usr/lib/llvm-18/bin /usr/lib/llvm-17/bin /usr/lib/llvm-16/bin
                       /usr/lib/llvm-15/bin /usr/lib/llvm-14/bin)

# Full paths: CMake resolves the OBJCXX compiler differently from C/C++ and
# misses a bare name.
find_program(TESSARY_CLANG NAMES clang clang-14 HINTS ${TESSARY_LLVM_HINTS} REQUIRED)
find_program(TESSARY_CLANGXX NAMES clang++ clang++-14 HINTS ${TESSARY_LLVM_HINTS} REQUIRED)
set(CMAKE_C_COMPILER ${TESSARY_CLANG})
set(CMAKE_CXX_COMPILER ${TESSARY_CLANGXX})
set(CMAKE_OBJC_COMPILER ${TESSARY_CLANG})
set(CMAKE_OBJCXX_COMPILER ${TESSARY_CLANGXX})
foreach(lang C CXX OBJC OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET ${TESSARY_MACOS_TARGET})
endforeach()

# GNU ar writes archives without a Mach-O symbol index; llvm-ar writes the
# Darwin format when its members are Mach-O objects.
find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 HINTS ${TESSARY_LLVM_HINTS} REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 HINTS ${TESSARY_LLVM_HINTS} REQUIRED)
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool llvm-install-name-tool-14
             HINTS ${TESSARY_LLVM_HINTS})
find_program(CMAKE_NM NAMES llvm-nm llvm-nm-14 HINTS ${TESSARY_LLVM_HINTS})
find_program(CMAKE_OBJDUMP NAMES llvm-objdump llvm-objdump-14 HINTS ${TESSARY_LLVM_HINTS})
find_program(CMAKE_STRIP NAMES llvm-strip llvm-strip-14 HINTS ${TESSARY_LLVM_HINTS})
find_program(CMAKE_LIPO NAMES llvm-lipo llvm-lipo-14 HINTS ${TESSARY_LLVM_HINTS})

set(CMAKE_OSX_SYSROOT "${TESSARY_MACOS_SDK}" CACHE PATH "macOS SDK" FORCE)
set(CMAKE_OSX_DEPLOYMENT_TARGET 12.0 CACHE STRING "Minimum macOS version" FORCE)
set(CMAKE_OSX_ARCHITECTURES ${TESSARY_MACOS_ARCH} CACHE STRING "Target architecture" FORCE)

# HIServices lives inside the ApplicationServices umbrella. ld64.lld does not
# follow an umbrella's re-exports, so the sub-framework that defines the
# symbols is linked by name and must be findable.
set(TESSARY_MACOS_SUBFRAMEWORKS
    "${TESSARY_MACOS_SDK}/System/Library/Frameworks/ApplicationServices.framework/Frameworks")
# Headers the SDK lacks (the AVFoundation umbrella).
set(TESSARY_MACOS_EXTRA_INCLUDE "${CMAKE_CURRENT_LIST_DIR}/macos-include")

set(TESSARY_MACOS_COMPILE_FLAGS
    "-isysroot ${TESSARY_MACOS_SDK} -F${TESSARY_MACOS_SUBFRAMEWORKS} -isystem ${TESSARY_MACOS_EXTRA_INCLUDE}")
set(CMAKE_C_FLAGS_INIT "${TESSARY_MACOS_COMPILE_FLAGS}")
set(CMAKE_OBJC_FLAGS_INIT "${TESSARY_MACOS_COMPILE_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${TESSARY_MACOS_COMPILE_FLAGS} -stdlib=libc++")
set(CMAKE_OBJCXX_FLAGS_INIT "${TESSARY_MACOS_COMPILE_FLAGS} -stdlib=libc++")

# clang picks ld64.lld for Darwin targets with -fuse-ld=lld, searching the -B
# directory first: it holds the newest ld64.lld the machine has. lld 14
# concatenates every object's 8-byte __objc_imageinfo (80 bytes for ten
# objects), which the loader does not take for image info; lld 16 merges them.
# A full path in -fuse-ld would make clang pass Apple-linker arguments.
find_program(TESSARY_LD64_LLD NAMES ld64.lld HINTS ${TESSARY_LLVM_HINTS} NO_DEFAULT_PATH)
if(NOT TESSARY_LD64_LLD)
  find_program(TESSARY_LD64_LLD NAMES ld64.lld ld64.lld-14 REQUIRED)
endif()
set(TESSARY_LINKER_DIR "${CMAKE_BINARY_DIR}/linker")
file(MAKE_DIRECTORY "${TESSARY_LINKER_DIR}")
file(CREATE_LINK "${TESSARY_LD64_LLD}" "${TESSARY_LINKER_DIR}/ld64.lld" SYMBOLIC)
# platform/macos links by sub-framework, which only ld64.lld needs (and
# Apple's linker refuses).
set(TESSARY_MACOS_LINKER_IS_LLD ON)
set(TESSARY_MACOS_LINK_FLAGS
    "-fuse-ld=lld -B${TESSARY_LINKER_DIR} -stdlib=libc++ -F${TESSARY_MACOS_SUBFRAMEWORKS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${TESSARY_MACOS_LINK_FLAGS}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${TESSARY_MACOS_LINK_FLAGS}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${TESSARY_MACOS_LINK_FLAGS}")

# Look for libraries, headers and packages in the SDK only; programs (code
# generators, tools) come from the build machine.
set(CMAKE_FIND_ROOT_PATH "${TESSARY_MACOS_SDK}")
set(CMAKE_SYSTEM_FRAMEWORK_PATH "${TESSARY_MACOS_SDK}/System/Library/Frameworks"
                                "${TESSARY_MACOS_SUBFRAMEWORKS}")
set(CMAKE_SYSTEM_PREFIX_PATH "/usr")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_USE_PACKAGE_REGISTRY OFF)
set(CMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY OFF)
