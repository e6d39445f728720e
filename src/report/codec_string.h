#pragma once
#include <string>

class CBox;

// The codec string of a sample entry as DASH and HLS manifests carry it (RFC 6381 and
// the codecs' own bindings): "avc1.64001F", "hvc1.2.4.L93.B0", "mp4a.40.2",
// "av01.0.04M.08", "vp09.00.10.08"; from the entry's configuration box when it holds
// one, else the entry's code ("ac-3", "opus", "fLaC").
std::string CodecString(const CBox& entry);

// The box of `entry` the codec string is computed from (its avcC, hvcC, esds, av1C,
// vpcC), or null when the string is the entry's code alone.
const CBox* CodecConfiguration(const CBox& entry);
