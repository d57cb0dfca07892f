#include "orderhooks.h"

namespace ravelin {

OrderHooks &orderHooks()
{
    static OrderHooks hooks;
    return hooks;
}

} // namespace ravelin
