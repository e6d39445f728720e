#include "boxes/presentation/file_type_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CFileTypeBox::ParseBox(CBitStreamReader& reader) {
    if (int status = reader.ReadBits(32, m_majorBrand); status < 0) return status;
    if (int status = reader.ReadBits(32, m_minorVersion); status < 0) return status;
    // Brands up to the end of the payload; fewer than 4 trailing bytes are ignored.
    ReadTable(reader, reader.PresentBytes() / 4, 4, m_compatibleBrands, [](const uint8_t* p) {
        const uint32_t brand = Be32(p);
        CORVEL_LOG("[CFileTypeBox::ParseBox] compatible brands : %s", FourCCText(brand).c_str());
        return brand;
    });
    return 0;
}
