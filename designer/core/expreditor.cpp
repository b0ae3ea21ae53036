#include "designer/core/expreditor.h"

TkvlExprTreePosition &kvlExprTreePosition()
{
    static TkvlExprTreePosition position;
    return position;
}
