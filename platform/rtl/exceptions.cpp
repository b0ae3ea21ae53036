#include "platform/rtl/exceptions.h"

const char *Exception::what() const noexcept
{
    if (m_what.isEmpty())
        m_what = m_message.toUtf8();
    return m_what.constData();
}
