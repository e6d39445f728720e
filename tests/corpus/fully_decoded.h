#pragma once
#include <set>
#include <string>

// Whether every box of the corpus file `name` is of a kind the engine decodes field by
// field (the fuzzed pub_mp4parse-rust_clusterfuzz-6093954524250112.mp4 aside: its mdia
// holds 32 bytes that are no box).
inline bool DecodesEveryKind(const std::string& name) {
    static const std::set<std::string> kFullyDecodedKinds = {
        "aac_itunes.m4a", "avc_aac.f4v", "avc_aac_bframes.mp4", "avc_aac_faststart.mp4", "avc_movtext.mp4",
        "avc_negcts.mp4", "co64.mp4", "dash_audio_init.m4s", "dash_audio_seg1.m4s", "dash_ssix_seg.m4s",
        "dash_streaming_prft_seg1.m4s", "dash_video_init.m4s", "dash_video_seg1.m4s", "enc_source_frag.mp4",
        "f4f_handmade.f4f", "frag_default_base_moof.mp4", "frag_empty_moov.mp4", "frag_global_sidx.mp4",
        "frag_mehd_sdtp_subs.mp4", "frag_prft.mp4", "hds_abst_frag1.f4f", "hds_stream0.abst", "hds_stream0Seg1-Frag1",
        "largesize_mdat.mp4", "mp4v_aac.3g2", "mp4v_aac_iods.mp4", "pub_bento4_video-h264-002.mp4",
        "pub_go-mp4_sample_fragmented.mp4", "pub_mp4-rust_big_buck_bunny_metadata.m4v",
        "pub_mp4-rust_minimal_fragment.m4s", "pub_mp4-rust_minimal_init.mp4", "pub_mp4parse-rust_afconvert-aac-0.5s.mp4",
        "pub_mp4parse-rust_bipbop_nonfragment_header.mp4", "pub_mp4parse-rust_mp4v_1f.mp4",
        "pub_mp4parse-rust_multiple-extents.avif", "pub_mp4parse-rust_valid-alpha.avif", "pub_mp4parse-rust_valid.avif",
        "pub_mp4parser_redbull_100kbit_dash.mp4", "pub_mp4parser_redbull_10sec1.m4s", "pub_shaka_imsc-image-segment.cmft",
        "rtphint.mp4", "size0_last_mdat.mp4", "smooth.ismv", "truncated_mdat.mp4", "xmp_uuid.mp4",
        // With the QuickTime track and metadata boxes (gmhd, keys, chpl, loci, name, load, ©xxx).
        "avc_chapters.mp4", "modern_prores_tmcd.mov", "pub_go-mp4_sample.mp4", "pub_go-mp4_sample_qt.mp4",
        "pub_mp4parser_Tiny_Sample_Untouched.mp4", "pub_mp4parser_test-pod.m4a", "pub_shaka_small.mp4",
    };
    return kFullyDecodedKinds.count(name) > 0;
}
