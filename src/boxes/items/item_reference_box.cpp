#include "boxes/items/item_reference_box.h"

#include "boxes/child_loop.h"
#include "boxes/items/item_reference_type_box.h"

int CItemReferenceBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (m_version > 1) return 0;  // a version we cannot read: its bytes stay unread
    static const ContainerTexts texts{"[CItemReferenceBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CItemReferenceBox::ParseBox] Box parsing error",
                                      "[CItemReferenceBox::ParseBox] unknow box type ... - %s",
                                      "[CItemReferenceBox::ParseBox] Box parsing is failed", nullptr};
    const uint32_t idBits = m_version == 0 ? 16 : 32;
    // Every child is a reference, whatever its type.
    return ParseChildren(*this, reader, texts,
                         [idBits](const CBox& h) -> ChildMade { return Known<CItemReferenceTypeBox>(h, idBits); });
}
