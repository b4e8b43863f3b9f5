# Writes a C++ source that embeds the icon's PNG renders as byte arrays.
# Inputs: ICON_ID, ICON_DIR (folder with application_icon_<size>.png), ICON_SIZES (comma
# separated), OUTPUT.
string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")
set(arrays "")
set(entries "")
foreach(size IN LISTS ICON_SIZES)
  file(READ "${ICON_DIR}/application_icon_${size}.png" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char kIcon${size}[] = {\n    ${bytes}\n};\n\n")
  string(APPEND entries "    {${size}, kIcon${size}},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the icon's PNG renders; do not edit.
#include \"resources/icon_images.h\"

namespace ofu::ui {
namespace {

${arrays}const IconImage kImages[] = {
${entries}};

}  // namespace

std::span<const IconImage> FindIconImages(int iconId) {
    if (iconId != ${ICON_ID}) return {};
    return kImages;
}

}  // namespace ofu::ui
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
