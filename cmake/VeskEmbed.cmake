# Run with -P: writes OUT, a C++ source holding the bytes of IN registered as
# the resource NAME of type TYPE.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT}
"// Generated from ${IN}; do not edit.
#include \"archive/resources.h\"

namespace {
// One byte more than the data, so an empty file still makes an array.
alignas(16) const unsigned char kData_${ID}[] = {
${bytes}0};
const vesk::TResourceRegistration kRegistration_${ID}(\"${NAME}\", \"${TYPE}\", kData_${ID}, ${size});
}  // namespace
")
