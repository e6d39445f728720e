#include "boxes/presentation/progressive_download_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CProgressiveDownloadbox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Pairs up to the end of the payload; a partial last pair fails the box.
    return ReadEach(reader, (reader.RemainingBits + 63) / 64, 8, m_entries,
                    [&](Entry& e) {
                        if (reader.ReadBits(32, e.rate) < 0 || reader.ReadBits(32, e.initialDelay) < 0) return -1;
                        CORVEL_LOG("[CProgressiveDownloadbox::ParseBox] [%ld] rate: %ld, initial_delay: %ld",
                                   static_cast<long>(m_entries.size() - 1), static_cast<long>(e.rate),
                                   static_cast<long>(e.initialDelay));
                        return 0;
                    });
}
