#pragma once
// Growing bytes written through a pointer: room is asked for first and the used end handed
// back, so nothing is zero-filled or checked per character (text made for a file).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

class ByteBuffer
{
public:
    char* Room(size_t n)
    {
        if (m_capacity - m_size < n)
            Grow(n);
        return m_data.get() + m_size;
    }
    void SetEnd(const char* end) { m_size = size_t(end - m_data.get()); }
    void Append(const char* text, size_t n)
    {
        std::memcpy(Room(n), text, n);
        m_size += n;
    }
    void Append(const ByteBuffer& other) { Append(other.data(), other.size()); }
    void Push(char c)
    {
        *Room(1) = c;
        ++m_size;
    }
    void Reserve(size_t n)
    {
        if (n > m_capacity)
            Grow(n - m_size);
    }
    void Truncate(size_t size) { m_size = size; }
    void clear() { m_size = 0; }
    const char* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    size_t capacity() const { return m_capacity; }

private:
    void Grow(size_t n)
    {
        const size_t capacity = std::max({m_size + n, m_capacity * 2, size_t(4096)});
        std::unique_ptr<char[]> data(new char[capacity]);
        if (m_size)
            std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};
