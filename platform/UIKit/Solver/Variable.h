#pragma once
// A variable of the layout solver: a named unknown with the value the last solve gave
// it. Variables are handles: copies refer to the same unknown, and two handles compare
// equal when they do.

#include <cstdint>
#include <memory>
#include <string>

namespace layout {

class Variable {
public:
    explicit Variable(std::string name = {});

    const std::string& name() const { return m_data->name; }
    double value() const { return m_data->value; }
    void setValue(double value) { m_data->value = value; }
    // Unique for the life of the process; orders variables by creation.
    std::uint64_t id() const { return m_data->id; }

    bool operator==(const Variable& other) const { return m_data == other.m_data; }
    bool operator<(const Variable& other) const { return id() < other.id(); }

private:
    struct Data {
        std::string name;
        double value = 0;
        std::uint64_t id = 0;
    };
    std::shared_ptr<Data> m_data;
};

} // namespace layout
