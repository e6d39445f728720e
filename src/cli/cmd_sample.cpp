#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "cli/common.h"
#include "samples/sample_context.h"
#include "samples/sample_decryption.h"
#include "samples/sample_lookup.h"

namespace {
const CommandSpec kSpec{
    "corvel sample FILE TRACK K [--key KID:KEY]... [--init INIT]",
    "Writes sample K (from 0; in a fragmented file counting through the fragments) of the\n"
    "track with ID TRACK to standard output. With --key (KID:KEY, or a KEY for every KID,\n"
    "32 hexadecimal digits each; repeatable) a protected sample is written decrypted.\n"
    "--init INIT reads FILE, a media segment, with its init segment.\n",
    {"--key"}, {}, 3, 3};
}  // namespace

int RunSample(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    uint64_t track = 0, k = 0;
    if (!ParseDecimal(line.positional[1], UINT32_MAX, track) || !ParseDecimal(line.positional[2], UINT64_MAX, k))
        return UsageError(kSpec, "TRACK and K are numbers");
    KeyRing keys;
    if (!ReadKeys(line, keys)) return 2;
    OpenedFile opened;
    if (!OpenWithInit(opened, file, line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    const int status = opened.status;
    const SampleContext context(*lib.Parser(), init);
    const auto found = FindSample(context, uint32_t(track), k);
    const std::string which = "sample " + std::to_string(k) + " of track " + std::to_string(track);
    if (!found) return FileError(file, "no " + which);
    std::vector<uint8_t> bytes = ReadSampleBytes(*lib.Parser(), found->record);
    if (bytes.size() < found->record.size) return FileError(file, which + ": the file ends inside it", 1);
    if (!keys.Empty() && found->encryption)
        if (const std::string why = DecryptSample(*found->encryption, keys, bytes); !why.empty())
            return FileError(file, which + " not decrypted: " + why, 1);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    return ExitStatus(lib, file, status);
}
