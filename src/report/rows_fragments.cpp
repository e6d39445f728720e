#include "report/box_rows.h"

bool AddFragmentRows(PageModel&, const CBox&, const RowContext&) { return false; }
