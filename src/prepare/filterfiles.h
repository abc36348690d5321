#pragma once

#include "filterlist.h"

#include "coding/appdirectory.h"

namespace prepare {

// The full path of the file called name in directory dir, matching the name without
// regard to letter case ("Filter.dat" is "filter.dat"): the file of exactly that
// name when it exists, else the first existing file whose name matches, else
// dir/name.
QString findFileNoCase(const QString &dir, const QString &name);

// The filter list "filter.dat" of the application directory and its backup
// "OldFilter.dat". Every write is atomic (a temporary file, then a rename), so a
// failure never leaves a half-written file; failures return false with a message for
// the user.
class FilterFiles {
public:
    explicit FilterFiles(coding::AppDirectory dir);

    QString filterPath() const;
    QString backupPath() const;

    // Reads the filter list. A missing "filter.dat" reads as the list shipped with an
    // installed copy when there is one, else as an empty list.
    bool load(FilterList *list, QString *error) const;
    // Replaces "filter.dat" by list.
    bool save(const FilterList &list, QString *error) const;

    // Copies the filter list as it is now to "OldFilter.dat", overwriting it.
    bool backUp(QString *error) const;
    // Copies "OldFilter.dat" over "filter.dat" when the backup exists (true without
    // doing anything when it does not).
    bool restore(QString *error) const;
    // Deletes "OldFilter.dat" when it exists.
    void removeBackup() const;

private:
    bool writeFile(const QString &path, const FilterList &list, QString *error) const;

    coding::AppDirectory m_dir;
};

} // namespace prepare
