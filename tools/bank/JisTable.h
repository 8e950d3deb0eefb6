#pragma once
// Shift_JIS <-> UTF-8 for the characters a bank cell may hold (ASCII and the
// assigned JIS X 0208 codes), through tables built once from iconv, so that
// the result is byte for byte iconv's own. A text holding anything else is
// declined, and the caller converts it with iconv (and reports it).
#include <string>
#include <string_view>

// Why a two-byte code with this lead byte is outside JIS X 0208 (a vendor
// extension, a user-defined character, an empty row); nullptr for the lead
// bytes of JIS X 0208 itself.
const char* JisExtensionReason(unsigned lead);
// True when the two-byte code is an assigned JIS X 0208 character: it decodes
// and encodes back to itself, and its lead byte is not of an extension row.
bool JisPairClean(unsigned char lead, unsigned char trail);
// True when the two-byte code decodes and encodes back to itself, whatever
// its row (extension rows included).
bool JisPairRoundTrips(unsigned char lead, unsigned char trail);

// Appends the UTF-8 form of a cell; false (out as it was) when the cell holds
// a byte or code the table does not carry.
bool AppendJisCellAsUtf8(std::string_view cell, std::string& out);
// Appends the Shift_JIS form of UTF-8 text; false (out as it was) when a
// character is not ASCII or a clean JIS X 0208 character.
bool AppendUtf8AsJisCell(std::string_view text, std::string& out);

