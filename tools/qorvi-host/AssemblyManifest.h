// An assembly described by a manifest file: its designs (name, CAD type, server type, revision,
// files, attributes) and the relationships between them (parent, child, relationship, top node,
// quantity, attributes). The files lie in the folder "files" beside the manifest.
//
//   <manifest>
//     <design name="Gearbox" type="assembly" servertype="CAD Assembly" revision="A">
//       <file name="Gearbox.asm"/>
//       <attribute name="description" value="Two-stage spur gearbox"/>
//     </design>
//     <relationship parent="Gearbox" child="Housing" relationship="assembly" quantity="1">
//       <attribute name="componentID" value="Housing:1"/>
//     </relationship>
//   </manifest>
//
// "revision" defaults to "A", "topnode" to "dpt", "quantity" to 1. A design's files are listed in
// format order, at least one; a parent's relationships keep the order of the manifest.
#ifndef QORVI_HOST_ASSEMBLYMANIFEST_H
#define QORVI_HOST_ASSEMBLYMANIFEST_H

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CSEXMLPacket;

class AssemblyManifest
{
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    struct Design
    {
        std::string name, type, serverType, revision;
        std::vector<std::string> files;
        Pairs attributes;
    };

    struct Use
    {
        int parent = -1; // index into the designs
        int child = -1;
        std::string relationship, topNode;
        int quantity = 1;
        Pairs attributes;
    };

    // Reads and checks the manifest file (UTF-8 path); false with a sentence for the user in error.
    bool Load(const std::string& path, std::string& error);
    // Reads and checks manifest text; filesFolder is where its files lie.
    bool Parse(const std::string& text, const std::string& filesFolder, std::string& error);

    const std::vector<Design>& Designs() const { return m_designs; }
    const std::vector<Use>& Uses() const { return m_uses; }
    // The folder of the files, absolute after Load.
    const std::string& FilesFolder() const { return m_filesFolder; }
    // The index of the design of that name, -1 when there is none.
    int Find(const std::string& name) const;
    // The designs that no relationship places, in manifest order.
    std::vector<int> TopLevel() const;
    // Per design, the indexes of the uses it is the parent of, in manifest order.
    std::vector<std::vector<int>> UsesByParent() const;
    // The designs the design contains, itself first, each once (depth first, in manifest order).
    std::vector<int> Reached(int design) const;

private:
    bool Read(CSEXMLPacket& packet, std::string& error);
    bool CheckNoLoop(std::string& error) const;

    std::vector<Design> m_designs;
    std::vector<Use> m_uses;
    std::string m_filesFolder;
    std::unordered_map<std::string, int> m_byName;
};

#endif
