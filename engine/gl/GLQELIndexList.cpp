#include "engine/gl/GLQELIndexList.h"

#include "engine/gl/GLQelGraphicsClass.h"

GLQELIndexList::GLQELIndexList(std::string name, int count) : name_(std::move(name))
{
    indices_.Resize(count);
}

GLQELIndexList::~GLQELIndexList()
{
    if (GLQelGraphicsClass::ContextReady())
        indices_.ReleaseBuffer();
}

void GLQELIndexList::Resize(int count)
{
    indices_.Resize(count);
}

void GLQELIndexList::SetIndex(int index, uint32_t value)
{
    QEL_ASSERT(indices_.Contains(index), "index < numIndexes");
    indices_.At(index) = value;
    indices_.MarkChanged();
}

uint32_t GLQELIndexList::GetIndex(int index)
{
    QEL_ASSERT(indices_.Contains(index), "index < numIndexes");
    return indices_.At(index);
}
