// Text in GFF3 columns, both ways: the percent-escapes (%XX, upper-case hex) that
// seqids and attribute values need, written by the tracks and decoded by the reader.
#pragma once

#include <string>

namespace morvale {

enum class Gff3Column {
  kSeqid,           // column 1: every byte outside a-z A-Z 0-9 . : ^ * $ @ ! + _ ? - | escaped
  kAttributeValue,  // column 9 values: ; = & , % tab, line ends and other control bytes escaped
};

// `text` with the bytes `column` reserves written as %XX.
std::string gff3Escaped(const std::string& text, Gff3Column column);

// `text` with every %XX (two hex digits, either case) decoded; other bytes as they are.
std::string gff3Decoded(const std::string& text);

}  // namespace morvale
