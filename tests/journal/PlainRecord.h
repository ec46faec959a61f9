#pragma once

#include <map>
#include <string>

#include "journal/EditedRecord.h"

namespace pondrel::test {

// The record members the journal editor uses, as plain values.
class PlainRecord final : public EditedRecord {
public:
    std::u16string JournalText() const override { return journal; }
    void StoreJournal(const std::u16string& text) override {
        journal = text;
        ++journalStores;
    }
    SubfolderDates Dates() const override { return dates; }
    void StoreDates(const SubfolderDates& d) override { dates = d; }
    bool IsReadOnly() const override { return lockState == u"R"; }
    std::u16string Field(int number) const override {
        auto it = fields.find(number);
        return it == fields.end() ? std::u16string() : it->second;
    }

    std::u16string journal;
    int journalStores = 0;
    SubfolderDates dates;
    std::u16string lockState = u"W";
    std::map<int, std::u16string> fields;
};

}  // namespace pondrel::test
