# cmake -DINPUT=file -DOUTPUT=file.cpp -DHEADER=im/x.h -DFUNCTION=name -P embed_bytes.cmake
# Writes a source file whose function answers the input file's bytes.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.
#include \"${HEADER}\"

namespace varnel::im {
namespace {
const unsigned char kBytes[] = {
    ${bytes}
};
}  // namespace

std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(kBytes), sizeof kBytes}; }

}  // namespace varnel::im
")
