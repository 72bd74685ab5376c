// CSEObjectInfo: copy, equality and release, each driven by the same field tables.
#include "CSEObjectInfo.h"

#include <cstddef>

namespace {

typedef CSEString CSEObjectInfo::*TextField;
typedef int CSEObjectInfo::*NumberField;
typedef CSEAttributeVector CSEObjectInfo::*AttributeField;
typedef DVKListPtrCSEString CSEObjectInfo::*StringListField;

const TextField kTextFields[] = {
    &CSEObjectInfo::userText1,        &CSEObjectInfo::userText2,         &CSEObjectInfo::userText3,
    &CSEObjectInfo::userText4,        &CSEObjectInfo::userText5,         &CSEObjectInfo::userText6,
    &CSEObjectInfo::fileName,         &CSEObjectInfo::dirName,           &CSEObjectInfo::name,
    &CSEObjectInfo::cadId,            &CSEObjectInfo::type,              &CSEObjectInfo::tool,
    &CSEObjectInfo::renamedFrom,      &CSEObjectInfo::userText7,         &CSEObjectInfo::fullFileName,
    &CSEObjectInfo::familyName,       &CSEObjectInfo::userText8,         &CSEObjectInfo::familyId,
    &CSEObjectInfo::modified,         &CSEObjectInfo::selected,          &CSEObjectInfo::selectable,
    &CSEObjectInfo::load,             &CSEObjectInfo::lock,              &CSEObjectInfo::isPrevLocked,
    &CSEObjectInfo::selDepDoc,        &CSEObjectInfo::manualSelDepDoc,   &CSEObjectInfo::parentId,
    &CSEObjectInfo::detailBusType,    &CSEObjectInfo::detailBusName,     &CSEObjectInfo::detailBusRevision,
    &CSEObjectInfo::parentFullPath,   &CSEObjectInfo::parentFileName,    &CSEObjectInfo::designStatus,
    &CSEObjectInfo::qxVersion,        &CSEObjectInfo::busType,           &CSEObjectInfo::busName,
    &CSEObjectInfo::downloadedPath,   &CSEObjectInfo::modificationStatus, &CSEObjectInfo::design,
    &CSEObjectInfo::versionText,      &CSEObjectInfo::clonedFrom,        &CSEObjectInfo::busRevision,
    &CSEObjectInfo::success,          &CSEObjectInfo::message,           &CSEObjectInfo::expandAll,
    &CSEObjectInfo::expandLevel,      &CSEObjectInfo::typeList,          &CSEObjectInfo::localCheckout,
    &CSEObjectInfo::modificationStatus2, &CSEObjectInfo::qxTypeInStructure, &CSEObjectInfo::renameTo,
    &CSEObjectInfo::isLocked,         &CSEObjectInfo::locker,            &CSEObjectInfo::userText9,
    &CSEObjectInfo::checkinAccess,    &CSEObjectInfo::userText10,        &CSEObjectInfo::uuid,
};
const NumberField kNumberFields[] = {
    &CSEObjectInfo::formatCount, &CSEObjectInfo::hasRenamedChild, &CSEObjectInfo::isTopLevel,
};
const AttributeField kAttributeFields[] = {&CSEObjectInfo::attributes, &CSEObjectInfo::attributes2};
const StringListField kStringListFields[] = {
    &CSEObjectInfo::modifiedCadAttributes, &CSEObjectInfo::parentCadIds, &CSEObjectInfo::ownerCadIds,
};

template <class T, std::size_t N>
constexpr std::size_t CountOf(const T (&)[N])
{
    return N;
}

// The record has 65 fields; each table lists its kind of field exactly once.
static_assert(CountOf(kTextFields) == 57 && CountOf(kNumberFields) == 3 &&
                  CountOf(kAttributeFields) == 2 && CountOf(kStringListFields) == 3,
              "every field of CSEObjectInfo belongs to one table");

void DeleteStrings(DVKListPtrCSEString& list)
{
    list.RemoveDuplicates(); // a pointer appended twice is still deleted once
    for (int position = list.Size(); position >= 1; --position)
        delete list[position];
    list.RemoveAll();
}

void CopyStrings(const DVKListPtrCSEString& source, DVKListPtrCSEString& target)
{
    DeleteStrings(target);
    for (int position = 1; position <= source.Size(); ++position) {
        const CSEString* text = source[position];
        target.Append(text == nullptr ? nullptr : new CSEString(*text));
    }
}

bool SameTexts(const DVKListPtrCSEString& left, const DVKListPtrCSEString& right)
{
    if (left.Size() != right.Size())
        return false;
    for (int position = 1; position <= left.Size(); ++position) {
        const CSEString* a = left[position];
        const CSEString* b = right[position];
        if (a == nullptr || b == nullptr) {
            if (a != b)
                return false;
            continue;
        }
        if (*a != *b)
            return false;
    }
    return true;
}

} // namespace

CSEObjectInfo::CSEObjectInfo() = default;

CSEObjectInfo::CSEObjectInfo(const CSEObjectInfo& other)
{
    CopyFields(other);
}

CSEObjectInfo& CSEObjectInfo::operator=(const CSEObjectInfo& other)
{
    if (&other != this)
        CopyFields(other);
    return *this;
}

CSEObjectInfo::~CSEObjectInfo()
{
    for (StringListField field : kStringListFields)
        DeleteStrings(this->*field);
}

void CSEObjectInfo::CopyFields(const CSEObjectInfo& other)
{
    for (TextField field : kTextFields)
        this->*field = other.*field;
    for (NumberField field : kNumberFields)
        this->*field = other.*field;
    for (AttributeField field : kAttributeFields)
        this->*field = other.*field;
    for (StringListField field : kStringListFields)
        CopyStrings(other.*field, this->*field);
}

bool CSEObjectInfo::operator==(const CSEObjectInfo& other) const
{
    for (TextField field : kTextFields)
        if (this->*field != other.*field)
            return false;
    for (NumberField field : kNumberFields)
        if (this->*field != other.*field)
            return false;
    for (AttributeField field : kAttributeFields)
        if (this->*field != other.*field)
            return false;
    for (StringListField field : kStringListFields)
        if (!SameTexts(this->*field, other.*field))
            return false;
    return true;
}

bool CSEObjectInfo::operator!=(const CSEObjectInfo& other) const
{
    return !(*this == other);
}
