#include "rows/ZXDBRowBase.h"

ZXSimpleDBSem ZXDBRowBase::s_semColumnVec(1);

ZXDBRowBase::ZXDBRowBase() : m_bGenerated(false), m_pSem(nullptr)
{
    m_pSem = new ZXSimpleDBSem(1);
}

ZXDBRowBase::~ZXDBRowBase()
{
    for (ZXDBDataTypeBase* value : columnVec) {
        if (value != nullptr) delete value;
    }
    columnVec.clear();
    columns.clear();
    if (m_pSem != nullptr) delete m_pSem;
    m_pSem = nullptr;
}

void ZXDBRowBase::lock()
{
    s_semColumnVec.wait();
}

void ZXDBRowBase::unLock()
{
    s_semColumnVec.release(1);
}

std::string ZXDBRowBase::getColumnName(const int& index)
{
    return std::string(getColumnName_t2(index));
}

std::vector<ZXDBDataTypeBase*> ZXDBRowBase::getData()
{
    return columnVec;
}

std::string ZXDBRowBase::getStructDef()
{
    return "";
}

int ZXDBRowBase::getHeaderType()
{
    return -1;
}

int ZXDBRowBase::searchForeignKey(std::string)
{
    return 0;
}

ZXDBRowBase& ZXDBRowBase::operator=(ZXDBRowBase&)
{
    return *this;
}

std::string ZXDBRowBase::fillForTime(const char* typeString)
{
    std::string out = typeString != nullptr ? typeString : "";
    for (char& c : out) {
        if (c == 'x') c = 'b';
    }
    return out;
}

void ZXDBRowBase::addColumn(char letter, const char* name)
{
    ZXDBDataTypeBase* value = nullptr;
    switch (letter) {
    case 'i':
        value = new ZXDB_int();
        break;
    case 'b':
    case 'x':
        value = new ZXDB_int64();
        break;
    default:
        value = new ZXDB_string();
        break;
    }
    try {
        columnVec.push_back(value);
    } catch (...) {
        delete value;
        throw;
    }
    columns[name] = value;
}
