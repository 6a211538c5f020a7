#include "Variable.h"

namespace layout {

Variable::Variable(std::string name)
    : m_data(std::make_shared<Data>())
{
    // One thread, as everything in the platform, so a plain counter.
    static std::uint64_t nextId = 0;
    m_data->name = std::move(name);
    m_data->id = ++nextId;
}

} // namespace layout
