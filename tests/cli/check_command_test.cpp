// corvel check as scripts call it: its lines, its JSON and its exit status.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/box_builder.h"
#include "support/cli_run.h"
#include "support/corpus.h"

TEST(CorvelCheck, LinesJsonAndExitStatus) {
    const std::string file = CorpusPath("avc_aac_bframes.mp4");
    // Only notes: exit 0, with --strict too.
    const CliRun ok = RunCorvel("check " + file);
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, file + ": info: moov: 'moov' comes after the media data at 40: a player must read the whole "
                             "file before it can start (not fast-start) [moov-after-mdat]\n");
    EXPECT_EQ(RunCorvel("check --strict " + file).status, 0);

    // A chunk offset past the end of the file: an error, exit 1; JSON gives its field's bytes.
    std::string bytes = ReadText(file);
    const size_t at = bytes.find("stco", 18811) + 12;  // the first chunk offset of the video
    bytes.replace(at, 4, std::string("\x00\x01\x00\x00", 4));
    const std::string broken = WriteTempFile("check_broken.mp4", bytes);
    const CliRun bad = RunCorvel("check " + broken);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find(broken + ": error: moov/trak[0]/mdia/minf/stbl/stco: chunk 1 at 65536 lies past the end "
                                    "of the file (21143 bytes) [stco-offset-past-eof]\n"),
              std::string::npos)
        << bad.out;
    const CliRun json = RunCorvel("check --json " + broken +
                                  " | python3 -c \"import json,sys; d=json.load(sys.stdin); "
                                  "print(d['file'] == sys.argv[1], [(f['severity'], f['rule'], f['box'], f['at']) "
                                  "for f in d['findings'] if f['rule'] == 'stco-offset-past-eof'])\" " +
                                  broken);
    EXPECT_EQ(json.out, "True [('error', 'stco-offset-past-eof', 'moov/trak[0]/mdia/minf/stbl/stco', [" +
                            std::to_string(at) + ", 4])]\n");

    // A warning fails only with --strict.
    std::string warned = ReadText(file);
    const size_t mdhd = warned.find("mdhd", 18811) - 4;
    warned[mdhd + 24 + 3] = char(warned[mdhd + 24 + 3] + 1);  // the media duration, one more
    const std::string warnedFile = WriteTempFile("check_warned.mp4", warned);
    EXPECT_EQ(RunCorvel("check " + warnedFile).status, 0);
    EXPECT_EQ(RunCorvel("check --strict " + warnedFile).status, 1);

    // A file that cannot be read, or is no media file: exit 2.
    EXPECT_EQ(RunCorvel("check /nonexistent/file.mp4").status, 2);
    const CliRun flv = RunCorvel("check " + CorpusPath("flv_ffmpeg.flv"));
    EXPECT_EQ(flv.status, 2);
    EXPECT_NE(flv.err.find("not an ISO base media file"), std::string::npos);
}

// The undecoded bytes check tells are those the pages list, on files with many of them.
TEST(CorvelCheck, UndecodedBytesAreThePagesOnes) {
    const std::string script = WriteTempFile("undecoded.py",
                                             "import json,subprocess,sys\n"
                                             "corvel, path = sys.argv[1], sys.argv[2]\n"
                                             "pages = []\n"
                                             "def walk(b):\n"
                                             "    pages.extend(tuple(r) for r in b.get('undecoded', []))\n"
                                             "    for c in b['children']: walk(c)\n"
                                             "for b in json.loads(subprocess.run([corvel, 'json', path], "
                                             "capture_output=True).stdout)['boxes']: walk(b)\n"
                                             "check = json.loads(subprocess.run([corvel, 'check', '--json', path], "
                                             "capture_output=True).stdout)['findings']\n"
                                             "told = [tuple(f['at']) for f in check if f['rule'] == 'undecoded-bytes']\n"
                                             "print(len(pages) > 0 and sorted(pages) == sorted(told))\n");
    for (const char* name : {"pub_mp4parser_multiTrack.3gp", "pub_shaka_cea608-track-init.mp4"}) {
        FILE* p = popen(("python3 " + script + " " + CORVEL_EXE + " " + CorpusPath(name)).c_str(), "r");
        ASSERT_NE(p, nullptr);
        char out[16] = {};
        const size_t n = fread(out, 1, sizeof out - 1, p);
        pclose(p);
        EXPECT_EQ(std::string(out, n), "True\n") << name;
    }
}
