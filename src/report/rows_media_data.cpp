#include "report/box_rows.h"

bool AddMediaDataRows(PageModel&, const CBox&, const RowContext&) { return false; }
