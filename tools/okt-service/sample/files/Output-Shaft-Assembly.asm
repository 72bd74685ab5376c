QORVI SAMPLE CAD FILE
design: Output-Shaft-Assembly
type: assembly
format: asm
description: Output shaft, fitted
uses: Output-Shaft, 歯車, Key-A5x5, Bearing-6204, Circlip-20, Shaft-Seal, Spacer-Ring
