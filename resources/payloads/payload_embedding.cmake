# Writes the two sources that embed the payloads: an assembly file that includes each payload
# file read-only (.incbin in .rodata, one global symbol per payload, its ELF size set, and an
# assembly-time check that the file has the row's size), and the C++ table of ofu::EmbeddedPayloads()
# over those symbols. `rows` are TYPE:ID:SIZE, `files` the payload files in the same order.
# Each output is rewritten only when its text changes.
function(ofu_write_payload_sources rows files asm_output cpp_output)
  set(asm "# Generated from the payload catalogue by the build; do not edit.\n")
  string(APPEND asm "    .section .rodata\n")
  set(declarations "")
  set(entries "")
  set(count 0)
  foreach(row file IN ZIP_LISTS rows files)
    string(REPLACE ":" ";" fields "${row}")
    list(GET fields 0 type)
    list(GET fields 1 id)
    list(GET fields 2 size)
    string(TOLOWER "ofu_payload_${type}_${id}" symbol)
    string(REPLACE "\\" "\\\\" quoted "${file}")
    string(REPLACE "\"" "\\\"" quoted "${quoted}")
    string(APPEND asm "
    .balign 8
    .globl ${symbol}
    .hidden ${symbol}
    .type ${symbol}, @object
${symbol}:
    .incbin \"${quoted}\"
.L${symbol}_end:
    .size ${symbol}, .L${symbol}_end - ${symbol}
    .if .L${symbol}_end - ${symbol} != ${size}
    .error \"payload ${type} ${id} is not ${size} bytes long\"
    .endif
")
    string(APPEND declarations "extern const std::uint8_t ${symbol}[];\n")
    string(APPEND entries "    {\"${type}\", ${id}, {${symbol}, ${size}}},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  string(APPEND asm "\n    .section .note.GNU-stack,\"\",@progbits\n")

  set(cpp "// Generated from the payload catalogue by the build; do not edit.
#include \"resources/payloads/embedded_payloads.h\"

#include <array>
#include <cstdint>

// The payloads' first bytes, defined by the assembly file next to this one.
extern \"C\" {
${declarations}}

namespace ofu {
namespace {

constinit const std::array<platform::EmbeddedResource, ${count}> kPayloads = {{
${entries}}};

}  // namespace

std::span<const platform::EmbeddedResource> EmbeddedPayloads() { return kPayloads; }

}  // namespace ofu
")
  foreach(kind asm cpp)
    file(WRITE "${${kind}_output}.new" "${${kind}}")
    file(COPY_FILE "${${kind}_output}.new" "${${kind}_output}" ONLY_IF_DIFFERENT)
    file(REMOVE "${${kind}_output}.new")
  endforeach()
endfunction()
