# Writes the numeric identifiers of res/resource.h as shell assignments
# (IDC_UPDATE=1046), so that the e2e tests name the dialog's controls as the
# code does. Run at build time whenever resource.h changes:
#   cmake -DIN=res/resource.h -DOUT=generated/controls.sh -P control-names.cmake
file(STRINGS "${IN}" defines REGEX "^#define[ \t]+ID[A-Z]*_[A-Z0-9_]+[ \t]+[0-9]+")
set(text "# Generated from res/resource.h by cmake/control-names.cmake.\n")
foreach(define ${defines})
  string(REGEX REPLACE "^#define[ \t]+([A-Z0-9_]+)[ \t]+([0-9]+).*" "\\1=\\2" assignment "${define}")
  string(APPEND text "${assignment}\n")
endforeach()
file(WRITE "${OUT}" "${text}")
