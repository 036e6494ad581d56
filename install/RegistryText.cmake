# Writes the package's two registry files:
#   pad-register.reg    the COM classes of both servers and the effect list
#   pad-unregister.reg  removes what pad-register.reg and padsetup.exe add
#   cmake -DOUT_DIR=<staging folder> [-DCRLF_FILES=a|b|...] -P RegistryText.cmake
# and copies the text files named in CRLF_FILES there with Windows line ends.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/EffectList.cmake)

set(OEM_TYPE_KEY
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_7A3C&PID_A02f")
set(FORCE_DRIVER_CLSID "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}")
set(PROPERTY_SHEET_CLSID "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}")

# "xx,xx,xx,xx": a 32-bit value as the bytes it is stored in.
function(dword_bytes expr out)
  math(EXPR value "${expr}")
  set(bytes "")
  foreach(shift 0 8 16 24)
    math(EXPR b "(${value} >> ${shift}) & 0xFF" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${b}" 2 -1 b)
    string(LENGTH "${b}" n)
    if(n EQUAL 1)
      set(b "0${b}")
    endif()
    string(TOLOWER "${b}" b)
    list(APPEND bytes "${b}")
  endforeach()
  list(JOIN bytes "," joined)
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()

# A REG_EXPAND_SZ in the REGEDIT4 form: the text's bytes and its NUL.
function(expand_sz_bytes text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\1," hex "${hex}")
  set(${out} "hex(2):${hex}00" PARENT_SCOPE)
endfunction()

# A .reg string escapes its backslashes and quotes.
function(reg_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(nl "\r\n")

macro(com_class clsid name dll model)
  reg_string("${name}" friendly)
  expand_sz_bytes("%SystemRoot%\\System32\\${dll}" path)
  string(APPEND reg "[HKEY_CLASSES_ROOT\\CLSID\\${clsid}]${nl}@=${friendly}${nl}${nl}")
  string(APPEND reg "[HKEY_CLASSES_ROOT\\CLSID\\${clsid}\\InprocServer32]${nl}@=${path}${nl}")
  string(APPEND reg "\"ThreadingModel\"=\"${model}\"${nl}${nl}")
endmacro()

set(reg "REGEDIT4${nl}${nl}")
# The driver is called on the game's threads and guards its own state; the
# sheet lives on the control panel's window thread.
com_class(${FORCE_DRIVER_CLSID} "Zuraza Zirude force feedback driver" padforce.dll Both)
com_class(${PROPERTY_SHEET_CLSID} "Zuraza Zirude game controller settings" padpanel.dll Apartment)

foreach(effect ${PAD_EFFECTS})
  string(REPLACE "|" ";" fields "${effect}")
  list(GET fields 1 guid)
  list(GET fields 2 friendly)
  list(GET fields 3 effect_id)
  list(GET fields 4 effect_type)
  # DIEFFECTATTRIBUTES: id, type with capabilities, static, dynamic, coordinates
  dword_bytes("${effect_id}" b_id)
  dword_bytes("${effect_type} | ${PAD_EFFECT_CAPS}" b_type)
  dword_bytes("${PAD_EFFECT_PARAMS}" b_static)
  dword_bytes("${PAD_EFFECT_DYNAMIC}" b_dynamic)
  dword_bytes("${PAD_EFFECT_COORDS}" b_coords)
  reg_string("${friendly}" friendly)
  string(APPEND reg "[${OEM_TYPE_KEY}\\OEMForceFeedback\\Effects\\${guid}]${nl}@=${friendly}${nl}")
  string(APPEND reg "\"Attributes\"=hex:${b_id},${b_type},${b_static},${b_dynamic},${b_coords}${nl}${nl}")
endforeach()

# The whole OEM type key goes: padsetup.exe wrote its values, this file its
# effect list, and nothing else lives under it.
set(unreg "REGEDIT4${nl}${nl}")
string(APPEND unreg "[-HKEY_CLASSES_ROOT\\CLSID\\${FORCE_DRIVER_CLSID}]${nl}${nl}")
string(APPEND unreg "[-HKEY_CLASSES_ROOT\\CLSID\\${PROPERTY_SHEET_CLSID}]${nl}${nl}")
string(APPEND unreg "[-${OEM_TYPE_KEY}]${nl}${nl}")

file(WRITE "${OUT_DIR}/pad-register.reg.tmp" "${reg}")
file(WRITE "${OUT_DIR}/pad-unregister.reg.tmp" "${unreg}")
file(COPY_FILE "${OUT_DIR}/pad-register.reg.tmp" "${OUT_DIR}/pad-register.reg" ONLY_IF_DIFFERENT)
file(COPY_FILE "${OUT_DIR}/pad-unregister.reg.tmp" "${OUT_DIR}/pad-unregister.reg" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT_DIR}/pad-register.reg.tmp" "${OUT_DIR}/pad-unregister.reg.tmp")

# The package's text files in Windows line endings.
string(REPLACE "|" ";" CRLF_FILES "${CRLF_FILES}")
foreach(text ${CRLF_FILES})
  get_filename_component(name "${text}" NAME)
  file(READ "${text}" content)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE "${OUT_DIR}/${name}" "${content}")
endforeach()
