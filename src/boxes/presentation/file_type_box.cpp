#include "boxes/presentation/file_type_box.h"

#include "base/log.h"

int CFileTypeBox::ParseBox(CBitStreamReader& reader) {
    if (int status = reader.ReadBits(32, m_majorBrand); status < 0) return status;
    if (int status = reader.ReadBits(32, m_minorVersion); status < 0) return status;
    // Brands up to the end of the payload; fewer than 4 trailing bytes are ignored.
    uint32_t brand = 0;
    while (reader.ReadBits(32, brand) == 0) {
        CORVEL_LOG("[CFileTypeBox::ParseBox] compatible brands : %s", FourCCText(brand).c_str());
        m_compatibleBrands.push_back(brand);
    }
    return 0;
}
