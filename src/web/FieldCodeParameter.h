// The coder of header fields with parameters (Content-Type, Content-Disposition).
#pragma once

#include "web/FieldCodeBase.h"

class CFieldCodeParameter : public CFieldCodeBase {
public:
    // Parameters are separated by ";".
    bool IsDelimiter(char c) const override;
};
