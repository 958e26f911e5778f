#pragma once
// Which kind of document a recovered byte run is, told by the words its last 64 KiB hold.
#include <string>

struct ByteStream;

// True when the first four bytes of word occur in the last 65,536 bytes of stream; the
// stream is left just after the match.
bool ContainsTypeWord(ByteStream* stream, const char* word);

// ".doc" when the last 65,536 bytes of the document hold "Word", else ".xls" when they
// hold "Exce" or the UTF-16 text "Wo", else ".ppt" when they hold the UTF-16 text
// "PowerPoint Document", else ".dat".
std::string DocumentExtension(ByteStream& document);
