QORVI SAMPLE CAD FILE
design: Breather-Assembly
type: assembly
format: asm
description: Breather
uses: Breather-Body, Breather-Cap
