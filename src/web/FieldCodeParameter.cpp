// The coder of header fields with parameters.
#include "web/FieldCodeParameter.h"

bool CFieldCodeParameter::IsDelimiter(char c) const {
    return c == ';';
}
