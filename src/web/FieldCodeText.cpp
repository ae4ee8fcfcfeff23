// The coder of free-text header fields.
#include "web/FieldCodeText.h"

qsizetype CFieldCodeText::GetLimit() const {
    return 255;
}
