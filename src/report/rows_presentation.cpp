#include "report/box_rows.h"

bool AddPresentationRows(PageModel&, const CBox&, const RowContext&) { return false; }
