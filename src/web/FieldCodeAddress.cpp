// The coder of address header fields.
#include "web/FieldCodeAddress.h"

bool CFieldCodeAddress::IsDelimiter(char c) const {
    return c == ',' || c == ':';
}
