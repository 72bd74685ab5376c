QORVI SAMPLE CAD FILE
design: Housing
type: assembly
format: asm
description: Housing with cover
project: Drivetrain
uses: Housing-Shell, Cover, Gasket, Hex-Bolt-M6, Washer-M6
