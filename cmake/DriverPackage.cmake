# The driver package under "Drivers\" of the skin archive (docs/driver-package.md), made by the build
# and never kept in the source tree:
#   Drivers/devcon32.exe, devcon64.exe, devconARM64.exe, devconXP32.exe   the device-console tools
#   Drivers/<mode>/<mode>New.inf and one <model>.dat per model            written by driverpkg
#   Drivers/<mode>/{i386,amd64,arm64}/<the three DLLs>                     the driver of each architecture
# Each Windows preset builds one architecture; the others come from the build folders of the other
# presets (ORVELLO_PACKAGE_BUILD_*), taken when they exist at configure time, so test.sh builds them
# first. A file no build has made yet is packed as a short text that says so (a placeholder): normal
# for the Linux build, whose simulated machine never runs them, a warning for a Windows build.

set(ORVELLO_DRIVER_MODE "CorvaneEx")
# DriverVer of the INF: fixed, so the same sources give the same archive; raise it with the driver.
set(ORVELLO_DRIVER_DATE "12/11/2026")
set(ORVELLO_DRIVER_DLLS CorvaneExUniNew CorvaneExUiNew CorvaneExLM)

set(ORVELLO_DRIVERPKG "" CACHE FILEPATH
  "driverpkg of a Linux build, for a Windows build (which cannot run its own)")
set(ORVELLO_PACKAGE_BUILD_X86 "" CACHE PATH "the windows preset's build folder (the i386 driver)")
set(ORVELLO_PACKAGE_BUILD_AMD64 "" CACHE PATH "the windows-x64 preset's build folder (the amd64 driver)")
set(ORVELLO_PACKAGE_BUILD_ARM64 "" CACHE PATH "the windows-arm64 preset's build folder (the arm64 driver)")

# The architecture this build makes itself: i386, amd64, arm64, or none (Linux).
function(orvello_own_driver_architecture out)
  if(NOT WIN32)
    set(${out} "" PARENT_SCOPE)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64|ARM64)$")
    set(${out} arm64 PARENT_SCOPE)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(${out} amd64 PARENT_SCOPE)
  else()
    set(${out} i386 PARENT_SCOPE)
  endif()
endfunction()

# Writes the packer's list of the package's built files (tools and DLLs) to `list_file` and returns
# in `depends` what the packing must wait for.
function(orvello_driver_package_list list_file depends)
  orvello_own_driver_architecture(own)
  set(lines "")
  set(deps "")
  set(missing "")
  set(preset_of_ORVELLO_PACKAGE_BUILD_X86 windows)
  set(preset_of_ORVELLO_PACKAGE_BUILD_AMD64 windows-x64)
  set(preset_of_ORVELLO_PACKAGE_BUILD_ARM64 windows-arm64)
  # entry: the archive name; target: the target that makes it when this build does; build_var and
  # path: else where another preset's build left it.
  macro(package_file entry target build_var path)
    if(NOT "${target}" STREQUAL "")
      string(APPEND lines "file\t${entry}\t$<TARGET_FILE:${target}>\n")
      list(APPEND deps ${target})
    elseif(NOT "${${build_var}}" STREQUAL "" AND EXISTS "${${build_var}}/${path}")
      string(APPEND lines "file\t${entry}\t${${build_var}}/${path}\n")
      list(APPEND deps "${${build_var}}/${path}")
    else()
      string(APPEND lines "placeholder\t${entry}\tthe ${preset_of_${build_var}} build\n")
      list(APPEND missing "${entry}")
    endif()
  endmacro()

  foreach(arch i386 amd64 arm64)
    if(arch STREQUAL "i386")
      set(var ORVELLO_PACKAGE_BUILD_X86)
    else()
      string(TOUPPER "ORVELLO_PACKAGE_BUILD_${arch}" var)
    endif()
    foreach(dll IN LISTS ORVELLO_DRIVER_DLLS)
      set(target "")
      if(arch STREQUAL own)
        set(target ${dll})
      endif()
      package_file("Drivers/${ORVELLO_DRIVER_MODE}/${arch}/${dll}.dll" "${target}" ${var} "driver/${dll}.dll")
    endforeach()
  endforeach()

  # The tools: devconXP32.exe is devcon32.exe (see tools/devcon), and the windows build has
  # devconARM64.exe already gathered beside devcon32.exe.
  set(devcon32 "")
  set(devcon64 "")
  if(own STREQUAL "i386")
    set(devcon32 devcon32)
  elseif(own STREQUAL "amd64")
    set(devcon64 devcon64)
  endif()
  package_file("Drivers/devcon32.exe" "${devcon32}" ORVELLO_PACKAGE_BUILD_X86 "tools/devcon/devcon32.exe")
  package_file("Drivers/devconXP32.exe" "${devcon32}" ORVELLO_PACKAGE_BUILD_X86 "tools/devcon/devcon32.exe")
  package_file("Drivers/devcon64.exe" "${devcon64}" ORVELLO_PACKAGE_BUILD_AMD64 "tools/devcon/devcon64.exe")
  if(own STREQUAL "i386")
    string(APPEND lines "file\tDrivers/devconARM64.exe\t${PROJECT_BINARY_DIR}/tools/devcon/devconARM64.exe\n")
    list(APPEND deps devconARM64_gathered "${PROJECT_BINARY_DIR}/tools/devcon/devconARM64.exe")
  else()
    set(devconArm64 "")
    if(own STREQUAL "arm64")
      set(devconArm64 devconARM64)
    endif()
    package_file("Drivers/devconARM64.exe" "${devconArm64}" ORVELLO_PACKAGE_BUILD_ARM64
      "tools/devcon/devconARM64.exe")
  endif()

  if(missing)
    list(JOIN missing "\n  " shown)
    set(text "The skin archive's driver package gets placeholders for what no build has made yet (build the other presets first, see test.sh):\n  ${shown}")
    if(WIN32)
      message(WARNING "${text}")
    else()
      message(STATUS "${text}")
    endif()
  endif()
  file(GENERATE OUTPUT "${list_file}" CONTENT "${lines}")
  set(${depends} "${deps}" PARENT_SCOPE)
endfunction()

# Adds the custom command that writes the INF and data files into `folder` (emptied first, so that
# a model taken out of the catalogue leaves no file) and returns its stamp in `stamp`, or nothing
# when this build has no driverpkg to run.
function(orvello_driver_package_generated folder catalogue stamp)
  if(TARGET driverpkg OR NOT WIN32)
    set(program "$<TARGET_FILE:driverpkg>")
    set(program_dep driverpkg)
  elseif(ORVELLO_DRIVERPKG AND EXISTS "${ORVELLO_DRIVERPKG}")
    set(program "${ORVELLO_DRIVERPKG}")
    set(program_dep "${ORVELLO_DRIVERPKG}")
  else()
    message(WARNING "No driverpkg (ORVELLO_DRIVERPKG=\"${ORVELLO_DRIVERPKG}\"): the skin archive "
      "gets no driver INF or data files, and the program cannot install its driver. Build the "
      "linux preset first.")
    set(${stamp} "" PARENT_SCOPE)
    return()
  endif()
  set(out "${folder}.stamp")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${folder}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND "${program}" package --catalogue "${catalogue}" --mode "${ORVELLO_DRIVER_MODE}"
            --out "${folder}" --date "${ORVELLO_DRIVER_DATE}"
    COMMAND ${CMAKE_COMMAND} -E touch "${out}"
    DEPENDS "${program_dep}" "${catalogue}"
    COMMENT "Writing the driver package's INF and data files"
    VERBATIM)
  set(${stamp} "${out}" PARENT_SCOPE)
endfunction()

# The package's security catalogue (<mode>New.cat, docs/driver-package.md): make_catalogue.py lists
# the files the archive gets below Drivers/<mode>/ (the generated INF and data files in `folder`,
# the DLLs or their placeholders of `list_file`), and sign_catalogue.sh signs it with a test
# certificate made once per build folder (its key stays there, never in the sources). Returns the
# folder holding the catalogue in `out`, or nothing when a tool is missing.
function(orvello_driver_catalogue folder list_file generated package_depends out)
  set(${out} "" PARENT_SCOPE)
  find_program(ORVELLO_OPENSSL openssl)
  find_program(ORVELLO_OSSLSIGNCODE osslsigncode)
  # asn1crypto comes from Debian (python3-asn1crypto), which another Python on the PATH may not see.
  set(python "")
  foreach(candidate "${Python3_EXECUTABLE}" /usr/bin/python3)
    if(EXISTS "${candidate}")
      execute_process(COMMAND "${candidate}" -c "import asn1crypto" RESULT_VARIABLE status
        OUTPUT_QUIET ERROR_QUIET)
      if(status EQUAL 0)
        set(python "${candidate}")
        break()
      endif()
    endif()
  endforeach()
  if(NOT ORVELLO_OPENSSL OR NOT ORVELLO_OSSLSIGNCODE OR NOT python)
    message(WARNING "No openssl, osslsigncode or Python with asn1crypto (scripts/setup.sh installs "
      "them): the driver package gets no catalogue, and Windows refuses to install it.")
    return()
  endif()

  set(signer "${CMAKE_CURRENT_BINARY_DIR}/catalogue-signer")
  add_custom_command(OUTPUT "${signer}/cert.pem" "${signer}/key.pem"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${signer}"
    COMMAND "${ORVELLO_OPENSSL}" req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256
            -keyout "${signer}/key.pem" -out "${signer}/cert.pem"
            -subj "/O=Orvello test build/CN=Orvello test driver signing (untrusted)"
            -addext "basicConstraints=critical,CA:FALSE"
            -addext "keyUsage=critical,digitalSignature"
            -addext "extendedKeyUsage=codeSigning"
    COMMENT "Making the build's test certificate for the driver catalogue"
    VERBATIM)

  set(cat_folder "${CMAKE_CURRENT_BINARY_DIR}/driver-catalogue")
  set(cat "${cat_folder}/${ORVELLO_DRIVER_MODE}New.cat")
  set(unsigned "${CMAKE_CURRENT_BINARY_DIR}/${ORVELLO_DRIVER_MODE}New.unsigned.cat")
  string(REGEX REPLACE "^([0-9]+)/([0-9]+)/([0-9]+)$" "\\3-\\1-\\2" date "${ORVELLO_DRIVER_DATE}")
  add_custom_command(OUTPUT "${cat}"
    COMMAND "${python}" "${PROJECT_SOURCE_DIR}/tools/packers/make_catalogue.py"
            --package "Drivers/${ORVELLO_DRIVER_MODE}" --time "${date}" --out "${unsigned}"
            --dir "Drivers/${ORVELLO_DRIVER_MODE}=${folder}" --list "${list_file}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${cat_folder}"
    COMMAND "${PROJECT_SOURCE_DIR}/tools/packers/sign_catalogue.sh" --in "${unsigned}" --out "${cat}"
            --cert "${signer}/cert.pem" --key "${signer}/key.pem" --time-of-certificate
    DEPENDS "${PROJECT_SOURCE_DIR}/tools/packers/make_catalogue.py"
            "${PROJECT_SOURCE_DIR}/tools/packers/pack_skin.py"
            "${PROJECT_SOURCE_DIR}/tools/packers/sign_catalogue.sh"
            "${signer}/cert.pem" "${list_file}" ${generated} ${package_depends}
    COMMENT "Writing and signing the driver package's catalogue"
    VERBATIM)
  set(${out} "${cat_folder}" PARENT_SCOPE)
endfunction()
