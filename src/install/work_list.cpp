#include "install/work_list.h"

#include "config/registry_records.h"
#include "install/install_progress.h"

namespace {

// The digest of a record (the configuration refused any that is malformed).
std::optional<Sha256Digest> Digest(const std::optional<std::wstring>& text)
{
    return text ? ParseSha256Digest(*text) : std::nullopt;
}

class WorkListBuilder {
public:
    explicit WorkListBuilder(bool standalone) : standalone_(standalone) {}

    void Add(WorkItem item, uint32_t weight)
    {
        // A standalone package's files already lie in their folders.
        item.needsDownload = standalone_ ? 0 : 1;
        if (item.needsDownload)
            downloadWeights_.push_back(weight);
        installWeights_.push_back(weight);
        list_.items.push_back(std::move(item));
    }

    WorkList Finish()
    {
        list_.downloadWeights = NormaliseWeights(downloadWeights_);
        list_.installWeights = NormaliseWeights(installWeights_);
        return std::move(list_);
    }

private:
    bool standalone_;
    WorkList list_;
    std::vector<uint32_t> downloadWeights_;
    std::vector<uint32_t> installWeights_;
};

// The language pack for `langId`, when the manifest lists one (the first).
void AddLanguagePack(WorkListBuilder& builder, const ProductManifest& manifest, const WorkListChoices& choices,
                     int32_t langId)
{
    for (const ManifestLanguagePack& pack : manifest.languagePacks) {
        if (pack.langId != langId)
            continue;
        WorkItem item;
        item.fileName = pack.name;
        item.url = pack.fullUrl;
        item.localPath = choices.languagePackPath(langId);
        // A language pack is an installer program of its own, run silently;
        // it is not a Windows Installer package.
        item.arguments = kLanguagePackArguments;
        item.runAsProcess = 1;
        item.sha256 = Digest(pack.sha256);
        builder.Add(std::move(item), kLanguagePackWeight);
        return;
    }
}

}  // namespace

std::wstring TransformPath(const std::wstring& transformFolder, int32_t langId)
{
    return transformFolder + std::to_wstring(langId) + L".mst";
}

WorkList BuildWorkList(const ProductManifest& manifest, const WorkListChoices& choices)
{
    WorkListBuilder builder(manifest.standalone);

    for (size_t i = 0; i < manifest.dependencies.size(); ++i) {
        bool present = i < choices.prerequisitePresent.size() && choices.prerequisitePresent[i];
        if (present)
            continue;
        const ManifestDependency& dependency = manifest.dependencies[i];
        WorkItem item;
        item.fileName = dependency.name;
        item.url = dependency.fullUrl;
        item.localPath = choices.downloadPath(dependency.name);
        item.arguments = dependency.installCommandLine;
        item.runAsProcess = 1;
        item.sha256 = Digest(dependency.sha256);
        builder.Add(std::move(item), kPrerequisiteWeight);
    }

    WorkItem main;
    main.fileName = manifest.mainComponentName;
    main.url = manifest.mainComponentUrl;
    main.localPath = choices.msiFolder + manifest.mainComponentName;
    main.sha256 = Digest(manifest.mainComponentSha256);
    builder.Add(std::move(main), kMainPackageWeight);

    for (const ManifestTransform& transform : manifest.transforms) {
        if (transform.langId != choices.langId)
            continue;
        WorkItem item;
        item.fileName = transform.name;
        item.url = transform.fullUrl;
        item.localPath = TransformPath(choices.transformFolder, choices.langId);
        // Applied through the main package's TRANSFORMS property; handing a
        // transform to the Windows Installer as a package would fail.
        item.downloadOnly = 1;
        item.sha256 = Digest(transform.sha256);
        builder.Add(std::move(item), kTransformWeight);
        break;
    }

    if (choices.existingInstall) {
        for (int32_t langId : choices.installedLanguagePacks)
            AddLanguagePack(builder, manifest, choices, langId);
    } else if (choices.hasLanguageChoice == 1 && choices.langId != registry_records::kEnglishLanguage) {
        AddLanguagePack(builder, manifest, choices, choices.langId);
    }

    return builder.Finish();
}
