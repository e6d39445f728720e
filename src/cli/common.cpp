#include "cli/common.h"

#include <cstring>
#include <iostream>

#include "cli/command_line.h"
#include "samples/sample_decryption.h"

int OpenAndParse(CCorvelLib& lib, const std::string& path, const CCorvel::TopLevelVisitor& visit) {
    lib.Uninit();
    if (lib.Init(path) < 0) {
        FileError(path, std::strerror(lib.LastError()));
        return -2;
    }
    return lib.Go(visit);
}

bool ReadKeys(const CommandLine& line, KeyRing& keys) {
    auto it = line.repeated.find("--key");
    if (it == line.repeated.end()) return true;
    std::string error;
    for (const std::string& key : it->second)
        if (!keys.Add(key, error)) {
            std::cerr << "corvel: " << error << "\n";
            return false;
        }
    return true;
}

bool OpenWithInit(OpenedFile& file, const std::string& path, const CommandLine& line) {
    if (const std::string* init = line.Value("--init")) {
        if (OpenAndParse(file.initLib, *init) == -2) return false;
        file.init = file.initLib.Parser();
    }
    file.status = OpenAndParse(file.lib, path);
    return file.status != -2;
}

bool ParseDecimal(const std::string& text, uint64_t max, uint64_t& out) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoull(text);
    return out <= max;
}

namespace {
// A four-character code as text: a byte outside 0x20-0x7E as \xNN.
std::string EscapedFourCC(uint32_t type) {
    std::string out;
    for (char c : FourCCText(type)) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b <= 0x7E) {
            out += c;
        } else {
            static const char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}
}  // namespace

int ExitStatus(const CCorvelLib& lib, const std::string& path, int status) {
    if (status >= 0) return 0;
    const CCorvel& parser = *lib.Parser();
    if (const CBox* h = parser.NotMediaHeader())
        std::cerr << "corvel: " << path << ": not an ISO base media file (first box: size " << h->m_size
                  << ", type " << EscapedFourCC(h->m_type) << ")\n";
    else if (const CBox* cut = parser.FirstTruncated())
        std::cerr << "corvel: " << path << ": the file ends inside the " << PrintableFourCC(cut->m_type)
                  << " box at " << cut->m_startOffset << " (" << cut->PresentSize() << " of " << cut->DeclaredSize()
                  << " bytes present)\n";
    else
        std::cerr << "Did not perform as expected.\n";
    return 1;
}

char* PrintableFourCC(uint32_t type, char* out) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<uint8_t>(type >> shift);
        if (c >= 0x80) out = MacRomanUtf8(c, out);
        else *out++ = c >= 0x20 && c <= 0x7E ? char(c) : '.';
    }
    return out;
}

std::string PrintableFourCC(uint32_t type) {
    char text[12];
    return std::string(text, PrintableFourCC(type, text));
}
